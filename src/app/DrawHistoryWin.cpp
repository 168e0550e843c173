#include "app/DrawHistoryWin.h"

#include "app/CheckTableModel.h"
#include "app/FileDialog.h"
#include "app/HitsChart.h"
#include "draws/Lottery.h"
#include "engine/Moment.h"
#include "store/DrawStore.h"
#include "store/TableDb.h"
#include "support/FileBytes.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSaveFile>
#include <QSplitter>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>

namespace quenmar::app {

namespace {

constexpr int kWidth = 1000;
constexpr int kHeight = 700;
constexpr int kPollMs = 50;
constexpr int kChartHeight = 300;
constexpr int kRowPadding = 6;
const QString kCsvFilter = QStringLiteral("CSV 文件 (*.csv);;所有文件 (*)");

QString text(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

// A connection of the worker's own to the history file: SQLite keeps the two apart, so an
// import's transaction holds only what the import wrote.
std::unique_ptr<store::TableDb> ownConnection(const std::filesystem::path& file) {
    auto db = std::make_unique<store::TableDb>();
    if (file.empty() || !db->openDatabase(file)) {
        return nullptr;
    }
    return db;
}

// One line of text and a little air: the style's default rows are twice that.
int compactRowHeight(const QWidget& table) {
    return table.fontMetrics().height() + kRowPadding;
}

QString summaryText(const tally::TallySummary& s) {
    QString line =
        QStringLiteral("共%1注 (%2条记录已开奖, %3条未开奖").arg(s.bets).arg(s.records).arg(s.undrawn);
    if (s.uncomputed > 0) {
        line += QStringLiteral(", %1条无法计算").arg(s.uncomputed);
    }
    line += QStringLiteral("): 投注%1元, 奖金%2元").arg(s.stakeYuan).arg(s.prizeYuan);
    if (s.floatingPrizes > 0) {
        line += QStringLiteral(", 另有%1注浮动奖金").arg(s.floatingPrizes);
    }
    return line;
}

} // namespace

DrawHistoryWin::DrawHistoryWin(const AppContext& context, QWidget* parent)
    : QWidget(parent, Qt::Window), m_context(context) {
    setObjectName(QStringLiteral("drawHistoryWin"));
    setWindowTitle(QStringLiteral("开奖记录与对奖"));
    resize(kWidth, kHeight);

    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("drawHistoryTabs"));
    m_tabs->addTab(buildDrawsTab(), QStringLiteral("开奖记录"));
    m_tabs->addTab(buildCheckTab(), QStringLiteral("对奖"));

    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("workProgress"));
    m_cancel = new QPushButton(QStringLiteral("取消"), this);
    m_cancel->setObjectName(QStringLiteral("cancelButton"));
    auto* progressRow = new QHBoxLayout;
    progressRow->addWidget(m_progress, 1);
    progressRow->addWidget(m_cancel);
    m_progress->hide();
    m_cancel->hide();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs, 1);
    layout->addLayout(progressRow);

    m_poll = new QTimer(this);
    m_poll->setInterval(kPollMs);
    connect(m_poll, &QTimer::timeout, this, &DrawHistoryWin::showProgress);
    connect(m_cancel, &QPushButton::clicked, this, &DrawHistoryWin::cancelWork);
    m_importWatcher = new QFutureWatcher<ImportOutcome>(this);
    connect(m_importWatcher, &QFutureWatcher<ImportOutcome>::finished, this,
            [this] { showImport(m_importWatcher->result()); });
    m_checkWatcher = new QFutureWatcher<CheckOutcome>(this);
    connect(m_checkWatcher, &QFutureWatcher<CheckOutcome>::finished, this,
            [this] { showCheck(m_checkWatcher->result()); });

    refreshDraws();
}

DrawHistoryWin::~DrawHistoryWin() {
    // A worker still running reads the progress record it shares; let it stop and end first.
    if (m_work) {
        m_work->cancelled = true;
    }
    m_importWatcher->waitForFinished();
    m_checkWatcher->waitForFinished();
}

QWidget* DrawHistoryWin::buildDrawsTab() {
    auto* tab = new QWidget;
    m_drawsTable = new QTableWidget(0, 6, tab);
    m_drawsTable->setObjectName(QStringLiteral("keptDrawsTable"));
    m_drawsTable->setHorizontalHeaderLabels({QStringLiteral("彩种"), QStringLiteral("期号"),
                                             QStringLiteral("开奖日期"), QStringLiteral("开奖号码"),
                                             QStringLiteral("获取时间"), QStringLiteral("来源")});
    m_drawsTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_drawsTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_drawsTable->verticalHeader()->hide();
    m_drawsTable->verticalHeader()->setDefaultSectionSize(compactRowHeight(*m_drawsTable));
    m_drawsTable->horizontalHeader()->setStretchLastSection(true);

    m_import = new QPushButton(QStringLiteral("导入CSV…"), tab);
    m_import->setObjectName(QStringLiteral("importButton"));
    m_export = new QPushButton(QStringLiteral("导出CSV…"), tab);
    m_export->setObjectName(QStringLiteral("exportButton"));
    m_drawsStatus = new QLabel(tab);
    m_drawsStatus->setObjectName(QStringLiteral("drawsStatus"));
    m_drawsStatus->setWordWrap(true);
    connect(m_import, &QPushButton::clicked, this, &DrawHistoryWin::importDraws);
    connect(m_export, &QPushButton::clicked, this, &DrawHistoryWin::exportDraws);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_import);
    buttons->addWidget(m_export);
    buttons->addWidget(m_drawsStatus, 1);
    auto* layout = new QVBoxLayout(tab);
    layout->addLayout(buttons);
    layout->addWidget(m_drawsTable, 1);
    auto* format =
        new QLabel(QStringLiteral("CSV 格式: 首行 code,issue,date,numbers; 号码为两位数字, 以空格分隔, "
                                  "附加号码写在 \"+\" 之后, 如 101,2024050,2024-05-05,03 09 14 "
                                  "22 27 31+12"),
                   tab);
    format->setWordWrap(true);
    layout->addWidget(format);
    return tab;
}

QWidget* DrawHistoryWin::buildCheckTab() {
    auto* tab = new QWidget;
    m_check = new QPushButton(QStringLiteral("开始对奖"), tab);
    m_check->setObjectName(QStringLiteral("checkButton"));
    m_checkStatus =
        new QLabel(QStringLiteral("对奖: 每条保存的推演与其后第一期快乐8开奖 (22时后保存的从次日算起)"), tab);
    m_checkStatus->setObjectName(QStringLiteral("checkStatus"));
    m_checkStatus->setWordWrap(true);
    connect(m_check, &QPushButton::clicked, this, &DrawHistoryWin::runCheck);

    m_model = new CheckTableModel(this);
    m_checkView = new QTableView(tab);
    m_checkView->setObjectName(QStringLiteral("checkTable"));
    m_checkView->setModel(m_model);
    m_checkView->verticalHeader()->hide();
    m_checkView->verticalHeader()->setDefaultSectionSize(compactRowHeight(*m_checkView));
    m_checkView->setSelectionMode(QAbstractItemView::NoSelection);
    m_checkView->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_checkView->horizontalHeader()->setStretchLastSection(true);

    m_chart = new HitsChart(tab);
    m_chart->setObjectName(QStringLiteral("hitsChart"));
    m_chart->setMinimumHeight(kChartHeight);
    m_summary = new QLabel(tab);
    m_summary->setObjectName(QStringLiteral("summaryLabel"));
    auto* note = new QLabel(text(std::string(tally::kEntertainmentNote)), tab);
    note->setObjectName(QStringLiteral("entertainmentNote"));
    note->setWordWrap(true);

    auto* split = new QSplitter(Qt::Vertical, tab);
    split->addWidget(m_checkView);
    split->addWidget(m_chart);
    split->setStretchFactor(0, 1);
    split->setStretchFactor(1, 1);

    auto* top = new QHBoxLayout;
    top->addWidget(m_check);
    top->addWidget(m_checkStatus, 1);
    auto* layout = new QVBoxLayout(tab);
    layout->addLayout(top);
    layout->addWidget(split, 1);
    layout->addWidget(m_summary);
    layout->addWidget(note);
    return tab;
}

void DrawHistoryWin::refreshDraws() {
    m_drawsTable->setRowCount(0);
    if (m_context.db == nullptr) {
        return;
    }
    const auto kept = store::listDraws(*m_context.db);
    if (!kept) {
        m_drawsStatus->setText(QStringLiteral("开奖记录无法读取"));
        return;
    }
    m_drawsTable->setRowCount(static_cast<int>(kept->size()));
    for (int row = 0; row < static_cast<int>(kept->size()); ++row) {
        const store::KeptDraw& draw = (*kept)[static_cast<std::size_t>(row)];
        const auto lottery = draws::lotteryByCode(draw.code);
        const std::string numbers =
            draw.mainNumbers + (draw.extraNumbers.empty() ? "" : " + " + draw.extraNumbers);
        const QStringList cells{lottery ? text(std::string(lottery->name)) : QString::number(draw.code),
                                text(draw.issue),
                                text(draw.date),
                                text(numbers),
                                text(dateTimeText(draw.obtainedAt)),
                                text(draw.source)};
        for (int column = 0; column < cells.size(); ++column) {
            m_drawsTable->setItem(row, column, new QTableWidgetItem(cells[column]));
        }
    }
    m_drawsTable->resizeColumnsToContents();
    m_drawsStatus->setText(QStringLiteral("共%1期开奖").arg(kept->size()));
}

void DrawHistoryWin::beginWork() {
    m_busy = true;
    m_work = std::make_shared<Progress>();
    m_import->setEnabled(false);
    m_export->setEnabled(false);
    m_check->setEnabled(false);
    m_progress->setRange(0, 0); // busy until the worker knows how much there is
    m_progress->show();
    m_cancel->setEnabled(true);
    m_cancel->show();
    m_poll->start();
}

void DrawHistoryWin::endWork() {
    m_poll->stop();
    m_progress->hide();
    m_cancel->hide();
    m_import->setEnabled(true);
    m_export->setEnabled(true);
    m_check->setEnabled(true);
    m_busy = false;
}

void DrawHistoryWin::showProgress() {
    if (!m_work) {
        return;
    }
    const std::size_t total = m_work->total;
    if (total > 0) {
        m_progress->setRange(0, static_cast<int>(std::min<std::size_t>(total, INT_MAX)));
        m_progress->setValue(static_cast<int>(std::min<std::size_t>(m_work->done, INT_MAX)));
    }
}

void DrawHistoryWin::cancelWork() {
    if (m_work) {
        m_work->cancelled = true;
        m_cancel->setEnabled(false);
    }
}

void DrawHistoryWin::importDraws() {
    if (m_busy) {
        return;
    }
    const QString file = FileDialog::openFile(this, QStringLiteral("导入开奖记录"), kCsvFilter);
    if (file.isEmpty()) {
        return;
    }
    beginWork();
    m_drawsStatus->setText(QStringLiteral("正在导入 %1 …").arg(file));
    const std::filesystem::path path = file.toStdString();
    const std::filesystem::path dbFile =
        m_context.db != nullptr ? m_context.db->dbPath() : std::filesystem::path();
    const double now = m_context.clock().moment;
    const std::shared_ptr<Progress> work = m_work;
    m_importWatcher->setFuture(QtConcurrent::run([path, dbFile, now, work]() -> ImportOutcome {
        const auto bytes = support::readFileBytes(path);
        if (!bytes) {
            return {std::nullopt, {0, "无法读取文件 " + path.string(), false}};
        }
        const auto db = ownConnection(dbFile);
        if (!db) {
            return {std::nullopt, {0, "开奖记录无法写入数据库", false}};
        }
        const auto imported = tally::importDrawCsv(*db, *bytes, now, path.string(),
                                                   [work](std::size_t done, std::size_t total) {
                                                       work->done = done;
                                                       work->total = total;
                                                       return !work->cancelled;
                                                   });
        if (!imported) {
            return {std::nullopt, imported.error()};
        }
        return {*imported, {}};
    }));
}

void DrawHistoryWin::showImport(const ImportOutcome& outcome) {
    endWork();
    refreshDraws();
    if (outcome.report) {
        QString said = QStringLiteral("已导入%1期开奖").arg(outcome.report->added);
        if (outcome.report->alreadyKept > 0) {
            said += QStringLiteral(" (另有%1期此前已保存)").arg(outcome.report->alreadyKept);
        }
        m_drawsStatus->setText(said);
    } else if (outcome.problem.cancelled) {
        m_drawsStatus->setText(text(outcome.problem.message));
    } else {
        m_drawsStatus->setText(text(tally::csvProblemText(outcome.problem)) +
                               QStringLiteral(", 文件中的开奖均未保存"));
    }
    emit workFinished();
}

void DrawHistoryWin::exportDraws() {
    if (m_busy || m_context.db == nullptr) {
        return;
    }
    const QString file = FileDialog::saveFile(this, QStringLiteral("导出开奖记录"),
                                              QStringLiteral("开奖记录.csv"), kCsvFilter);
    if (file.isEmpty()) {
        return;
    }
    const auto kept = store::listDraws(*m_context.db);
    QSaveFile out(file);
    const QByteArray csv = kept ? QByteArray::fromStdString(tally::drawCsv(*kept)) : QByteArray();
    if (!kept || !out.open(QIODevice::WriteOnly) || out.write(csv) != csv.size() || !out.commit()) {
        m_drawsStatus->setText(QStringLiteral("无法写入 %1").arg(file));
        return;
    }
    m_drawsStatus->setText(QStringLiteral("已导出%1期开奖到 %2").arg(kept->size()).arg(file));
}

void DrawHistoryWin::runCheck() {
    if (m_busy) {
        return;
    }
    beginWork();
    m_checkStatus->setText(QStringLiteral("正在对奖…"));
    const std::filesystem::path dbFile =
        m_context.db != nullptr ? m_context.db->dbPath() : std::filesystem::path();
    const std::shared_ptr<Progress> work = m_work;
    m_checkWatcher->setFuture(QtConcurrent::run([dbFile, work]() -> CheckOutcome {
        CheckOutcome outcome;
        const auto db = ownConnection(dbFile);
        const auto kept =
            db ? store::listDraws(*db, tally::kHappy8Code) : Failure{store::StoreError::OpenFailed};
        if (!kept) {
            outcome.failure = QStringLiteral("历史记录或开奖记录无法读取");
            return outcome;
        }
        const auto saved = tally::savedRecords(*db);
        if (!saved) {
            outcome.failure = QString::fromStdString(store::readErrorMessage(saved.error()));
            return outcome;
        }
        const std::vector<store::YsModel>& records = *saved;
        outcome.records = records.size();
        work->total = records.size();
        outcome.checks = tally::checkRecords(records, tally::DrawIndex(*kept), [work](std::size_t done) {
            work->done = done;
            return !work->cancelled;
        });
        outcome.cancelled = work->cancelled;
        for (const tally::RecordCheck& check : outcome.checks) {
            outcome.summary.add(check);
        }
        return outcome;
    }));
}

void DrawHistoryWin::showCheck(const CheckOutcome& outcome) {
    // A cancel that came after the last record but before this is still the user's answer: a
    // check stores nothing, so it is shown as cancelled, with how far it got (which may be all).
    const bool cancelled = outcome.cancelled || (m_work && m_work->cancelled);
    endWork();
    m_model->setChecks(outcome.checks);
    m_chart->showSummary(outcome.summary);
    m_summary->setText(summaryText(outcome.summary));
    if (!outcome.failure.isEmpty()) {
        m_checkStatus->setText(outcome.failure);
    } else if (cancelled) {
        m_checkStatus->setText(QStringLiteral("对奖已取消: 已对%1条, 共%2条记录")
                                   .arg(outcome.checks.size())
                                   .arg(outcome.records));
    } else if (outcome.records == 0) {
        m_checkStatus->setText(QStringLiteral("还没有保存的推演记录"));
    } else {
        m_checkStatus->setText(QStringLiteral("已对奖%1条记录").arg(outcome.records));
    }
    emit workFinished();
}

} // namespace quenmar::app
