#include "app/MainWin.h"

#include "app/DesktopViewer.h"
#include "app/DrawHistoryWin.h"
#include "app/ExpertWin.h"
#include "app/FileDialog.h"
#include "app/LoadWin.h"
#include "app/MainPanel.h"
#include "app/MessageBox.h"
#include "app/UiFont.h"
#include "app/UpdateWin.h"
#include "app/panels/ChartPanel.h"
#include "app/panels/ChoicePicker.h"
#include "app/panels/DrawsPanel.h"
#include "app/panels/GuaWin.h"
#include "app/panels/InputPanel.h"
#include "app/panels/RecordPanel.h"
#include "base/Version.h"
#include "engine/Moment.h"
#include "prediction/Calculation.h"
#include "store/RecordStore.h"
#include "support/ProgramPaths.h"
#include "update/UpdateDownload.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFutureWatcher>
#include <QGuiApplication>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QStatusBar>
#include <QUrl>
#include <QtConcurrent/QtConcurrentRun>

namespace quenmar::app {

namespace {

constexpr int kGap = 10;

// "Quenmar V1.0.0版": the product's short name and the running version, as the update check
// knows them.
QString mainTitle() {
    return QStringLiteral("%1 %2版").arg(QString::fromUtf8(update::kApplicationName),
                                         QString::fromUtf8(kVersionName));
}

} // namespace

MainWin::MainWin(const AppContext& context, draws::RefreshServices refreshServices, QWidget* parent)
    : QMainWindow(parent), m_context(context) {
    setObjectName(QStringLiteral("mainWin"));
    hide();
    setWindowTitle(mainTitle());
    const QFont font = uiFont();
    setFont(font);
    buildMenus();
    // The menu bar comes on top of the described content: the window grows by its height.
    resize(kOuterWidth, kDesignHeight + menuBar()->sizeHint().height());

    auto* central = new QWidget(this);
    setCentralWidget(central);
    m_panel = new MainPanel(m_context, std::move(refreshServices), font, central);
    m_panel->move(0, 0);
    connect(m_panel, &MainPanel::statusText, this, &MainWin::showStatus);
    connect(m_panel, &MainPanel::refreshStatusText, this, &MainWin::showRefreshStatus);
    connect(m_panel, &MainPanel::openLineEntry, this, &MainWin::openLineEntry);
    connect(m_panel, &MainPanel::chartReady, this, &MainWin::showPrediction);
    connect(m_panel, &MainPanel::resultsShown, this, &MainWin::showResultsShown);
    connect(m_panel, &MainPanel::saveRequested, this, &MainWin::saveRecord);
    connect(m_panel, &MainPanel::deleteRequested, this, &MainWin::deleteTicked);
    connect(m_panel, &MainPanel::helpRequested, this, &MainWin::openHelp);
    connect(m_panel, &MainPanel::reviewRequested, this, &MainWin::review);
    connect(m_panel, &MainPanel::drawsKept, this, [this](const QString& note) {
        // The first field keeps the refresh's own notice; what keeping has to say goes beside it.
        m_status2->setText(note);
        if (m_drawHistory) {
            m_drawHistory->refreshDraws();
        }
    });

    m_status = new QLabel(QStringLiteral("状态:"), this);
    m_status->setObjectName(QStringLiteral("statusField0"));
    m_status2 = new QLabel(this);
    m_status2->setObjectName(QStringLiteral("statusField1"));
    statusBar()->addWidget(m_status, 1);
    statusBar()->addWidget(m_status2, 1);
    statusBar()->setSizeGripEnabled(false);

    layoutPanels();
    m_panel->recordPanel()->buildContent();
    // Where this platform's font needs a taller results box than designed, the window grows by
    // as much, so that the notes, the name box and the buttons below it keep their room.
    if (const int growth = m_panel->recordPanel()->resultsGrowth(); growth > 0) {
        resize(width(), height() + growth);
        layoutPanels();
        m_panel->recordPanel()->placeLowerControls();
    }
    orderTabStops();
    // The panels are placed once and keep their places: a smaller window would hide controls.
    setMinimumSize(m_panel->width(), height());
    m_choosePrinter = [this](QPrinter& printer) {
        QPrintDialog dialog(&printer, this);
        return dialog.exec() == QDialog::Accepted;
    };

    m_heldRefreshTimer = new QTimer(this);
    m_heldRefreshTimer->setSingleShot(true);
    m_heldRefreshTimer->setTimerType(Qt::PreciseTimer); // not a little early, as a coarse timer may be
    connect(m_heldRefreshTimer, &QTimer::timeout, this, [this] {
        m_status->setText(m_heldRefreshText);
        m_heldRefreshText.clear();
    });

    m_updateTimer = new QTimer(this);
    m_updateTimer->setObjectName(QStringLiteral("updateTimer"));
    connect(m_updateTimer, &QTimer::timeout, this, [this] {
        // One tick only: the check runs once per start.
        m_updateTimer->stop();
        if (m_updateCheck) {
            m_updateCheck();
        }
    });
}

void MainWin::buildMenus() {
    QMenuBar* bar = menuBar();
    const auto menu = [bar](const QString& name, const QString& title) {
        QMenu* added = bar->addMenu(title);
        added->setObjectName(name);
        return added;
    };
    const auto entry = [this](QMenu* into, const QString& name, const QString& text, const QKeySequence& keys,
                              auto slot) {
        QAction* action = into->addAction(text);
        action->setObjectName(name);
        action->setShortcut(keys);
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    QMenu* file = menu(QStringLiteral("menuFile"), QStringLiteral("文件(&F)"));
    m_resultActions << entry(file, QStringLiteral("actionExportPicture"), QStringLiteral("导出图片…"),
                             QKeySequence(Qt::CTRL | Qt::Key_E), &MainWin::exportPicture)
                    << entry(file, QStringLiteral("actionExportPdf"), QStringLiteral("导出PDF…"),
                             QKeySequence(), &MainWin::exportPdf)
                    << entry(file, QStringLiteral("actionPrint"), QStringLiteral("打印…"),
                             QKeySequence::Print, &MainWin::printChart);
    file->addSeparator();
    entry(file, QStringLiteral("actionQuit"), QStringLiteral("退出"), QKeySequence(Qt::CTRL | Qt::Key_Q),
          &QWidget::close);
    QMenu* edit = menu(QStringLiteral("menuEdit"), QStringLiteral("编辑(&E)"));
    m_resultActions << entry(edit, QStringLiteral("actionCopyResult"), QStringLiteral("复制结果"),
                             QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C), &MainWin::copyResult);
    for (QAction* action : std::as_const(m_resultActions)) {
        action->setEnabled(false); // nothing to export, print or copy before a result is shown
    }
    QMenu* tools = menu(QStringLiteral("menuTools"), QStringLiteral("工具(&T)"));
    m_tools = {tools->addAction(QStringLiteral("详细排盘")),
               tools->addAction(QStringLiteral("开奖记录与对奖"))};
    m_tools[0]->setObjectName(QStringLiteral("actionExpertChart"));
    m_tools[1]->setObjectName(QStringLiteral("actionDrawHistory"));
    connect(m_tools[0], &QAction::triggered, this, &MainWin::openExpertChart);
    connect(m_tools[1], &QAction::triggered, this, &MainWin::openDrawHistory);
    QMenu* help = menu(QStringLiteral("menuHelp"), QStringLiteral("帮助(&H)"));
    entry(help, QStringLiteral("actionHelp"), QStringLiteral("帮助"), QKeySequence::HelpContents,
          &MainWin::openHelp);
    entry(help, QStringLiteral("actionAbout"), QStringLiteral("关于 Quenmar"), QKeySequence(),
          &MainWin::showAbout);
}

void MainWin::layoutPanels() {
    const int statusHeight = statusBar()->sizeHint().height();
    const int h = std::max(0, height() - menuBar()->sizeHint().height() - statusHeight);
    DrawsPanel* draws = m_panel->drawsPanel();
    InputPanel* input = m_panel->inputPanel();
    ChartPanel* chart = m_panel->chartPanel();
    RecordPanel* record = m_panel->recordPanel();
    draws->move(kGap, kGap);
    input->move(kGap, draws->geometry().bottom() + 1 + kGap);
    const int chartTop = input->geometry().bottom() + 1 + kGap;
    chart->setVisibleHeight(h - chartTop);
    chart->setGeometry(0, chartTop, chart->width(), h);
    const int chartRight = chart->geometry().right() + 1;
    record->setGeometry(chartRight + kGap, kGap, kOuterWidth - chartRight - 30, h);
    m_panel->resize(record->geometry().right() + 1 + kGap, h);
}

void MainWin::orderTabStops() {
    // Tab follows what the eye reads: the left column from the top, then the right column.
    // The input panel puts its method control between its two pickers whenever it changes.
    InputPanel* input = m_panel->inputPanel();
    RecordPanel* record = m_panel->recordPanel();
    const QList<QWidget*> stops{m_panel->drawsPanel()->refreshButton(),
                                input->methodPicker()->list(),
                                input->zodiacPicker()->list(),
                                input->computeButton(),
                                input->resetButton(),
                                m_panel->chartPanel()->reportBox(),
                                record->historyList(),
                                record->selectAll(),
                                record->deleteButton(),
                                record->resultsBox()->editor(),
                                record->qrButton(),
                                record->notesBox()->editor(),
                                record->nameBox()->editor(),
                                record->saveButton(),
                                record->helpButton()};
    for (qsizetype i = 1; i < stops.size(); ++i) {
        setTabOrder(stops[i - 1], stops[i]);
    }
}

void MainWin::start() {
    if (m_context.showSplash) {
        LoadWin splash(this);
        splash.exec();
    }
    show();
    m_panel->startRefreshTimer();
    const auto today = dateTimeFromMoment(m_context.clock().moment);
    if (today && update::isUpdateCheckDue(m_context.configFile, *today)) {
        m_updateTimer->start(kUpdateDelayMs);
    }
}

bool MainWin::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate && !m_activated) {
        m_activated = true;
        fillHistory();
    }
    return QMainWindow::event(event);
}

void MainWin::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    if (m_panel != nullptr) {
        m_panel->move(0, 0);
    }
}

void MainWin::showStatus(const QString& message) {
    m_status->setText(message);
    m_userMessageAge.start();
    if (m_heldRefreshTimer->isActive()) {
        m_heldRefreshTimer->start(kUserMessageHoldMs); // the newer message is read first
    }
}

void MainWin::showRefreshStatus(const QString& message) {
    // While offline the refresh reports every 3 s; without this the message of what the user
    // just did ("未输入推算数字" and the like) would vanish before it was read.
    const qint64 age = m_userMessageAge.isValid() ? m_userMessageAge.elapsed() : kUserMessageHoldMs;
    if (age < kUserMessageHoldMs) {
        m_heldRefreshText = message;
        m_heldRefreshTimer->start(static_cast<int>(kUserMessageHoldMs - age));
        return;
    }
    m_heldRefreshTimer->stop();
    m_status->setText(message);
}

void MainWin::openLineEntry() {
    InputPanel* input = m_panel->inputPanel();
    GuaWin window(
        m_context.clock(),
        [input](const HandEntry& entry) {
            input->setHandLines(entry.upperLines, entry.lowerLines, entry.movingFlags, entry.moment);
        },
        this);
    window.exec();
}

void MainWin::showPrediction(const Calculation& calculation) {
    m_shown = calculation;
    m_shownTitle = m_reviewTitle;
    m_panel->recordPanel()->showResultText(QString::fromStdString(calculation.prediction.text));
    if (m_expert) {
        m_expert->showCalculation(calculation);
    }
}

void MainWin::showResultsShown(bool shown) {
    if (!shown) {
        m_shown.reset(); // "重设" or a new choice: what is exported is what the window shows
        m_shownTitle.clear();
    }
    for (QAction* action : std::as_const(m_resultActions)) {
        action->setEnabled(m_shown.has_value());
    }
}

void MainWin::saveRecord(const QString& name, bool hasChart, const ChartResult& chart, const QString& notes) {
    if (!hasChart) {
        return;
    }
    const store::YsModel model = store::modelFromChart(chart, name.toStdString(), notes.toStdString());
    const auto saved = m_context.db != nullptr ? store::saveRecord(*m_context.db, model)
                                               : Failure{store::StoreError::StatementFailed};
    showStatus(QString::fromStdString(std::string(store::saveMessage(saved))));
    if (saved) {
        if (m_shown && m_shown->run.chart == chart) {
            m_shownTitle = QString::fromStdString(model.ysname);
        }
        fillHistory();
    }
}

void MainWin::deleteTicked() {
    if (!MessageBox::ask(this, QStringLiteral("询问:"),
                         QStringLiteral("确定需要删除当前所选择的历史数据吗?"))) {
        return;
    }
    RecordPanel* record = m_panel->recordPanel();
    if (record->tickedCount() == 0) {
        // Entries only highlighted are not the ones to delete: say so rather than nothing.
        showStatus(QStringLiteral("未勾选要删除的记录"));
        return;
    }
    // One transaction for every ticked entry: quick for thousands, and all of them or none.
    // When none went, the entries stay and the status bar says why.
    record->removeTicked([this](const std::vector<int>& recordIds) {
        if (m_context.db == nullptr) {
            return false;
        }
        const auto deleted = store::deleteRecords(*m_context.db, recordIds);
        if (!deleted) {
            showStatus(QString::fromStdString(deleted.error() == store::StoreError::StatementFailed
                                                  ? std::string(store::kDeleteFailedText)
                                                  : store::readErrorMessage(deleted.error())));
            return false;
        }
        showStatus(QStringLiteral("已删除%1条记录").arg(deleted->size()));
        return true;
    });
}

void MainWin::review(int recordId) {
    if (m_context.db == nullptr) {
        return;
    }
    const auto model = store::loadRecord(*m_context.db, recordId);
    if (!model) {
        showStatus(QString::fromStdString(store::readErrorMessage(model.error())));
        return;
    }
    if (!model->has_value()) {
        return;
    }
    const CastRequest r = store::requestFromModel(**model);
    // The run below happens at once; the calculation it shows is that of this record.
    m_reviewTitle = QString::fromStdString((*model)->ysname);
    m_panel->inputPanel()->restoreFromRecord(r.recordId, r.method, r.zodiac, r.moment, r.numberText,
                                             r.upperLines, r.lowerLines, r.timeChoice, r.movingFlags);
    m_reviewTitle.clear();
}

void MainWin::fillHistory() {
    if (m_context.db == nullptr) {
        return;
    }
    // A history that cannot be read is not an empty one: the status bar says so.
    const auto rows = store::listRecords(*m_context.db);
    if (!rows) {
        showStatus(QString::fromStdString(store::readErrorMessage(rows.error())));
        return;
    }
    m_panel->recordPanel()->fillList(*rows);
}

void MainWin::openHelp() {
    const QString book = QString::fromStdString((m_context.programFolder / "help" / "index.html").string());
    m_lastHelpUrl = QUrl::fromLocalFile(book).toString();
    if (m_context.openHelpInViewer) {
        openInDesktopViewer(QUrl(m_lastHelpUrl), this, [this, book] {
            MessageBox::inform(this, QStringLiteral("提示:"),
                               QStringLiteral("没有找到能打开帮助文档的程序。帮助文档在:\n%1")
                                   .arg(QDir::toNativeSeparators(book)));
        });
    }
}

QString MainWin::suggestedFileName() const {
    QString name = m_shownTitle;
    if (name.isEmpty() && m_shown) {
        name = QString::fromStdString(dateTimeText(m_shown->run.chart.moment));
    }
    // A record title may hold what no file system takes in a name.
    static const QRegularExpression forbidden(QStringLiteral("[\\\\/:*?\"<>|\\x00-\\x1f]"));
    name.replace(forbidden, QStringLiteral("_"));
    return name.isEmpty() ? QStringLiteral("Quenmar") : name;
}

QString MainWin::resultText() const {
    if (!m_shown) {
        return {};
    }
    QString text = QString::fromStdString(m_shown->run.view.title) + QStringLiteral("\n\n") +
                   QString::fromStdString(m_shown->run.report) + QStringLiteral("\n\n") +
                   QString::fromStdString(m_shown->prediction.text);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")); // the clipboard gives each platform its own
    return text;
}

QString MainWin::chooseExportFile(const QString& caption, const QString& suffix, const QString& filter) {
    const QDir documents(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    return FileDialog::saveFile(
        this, caption, documents.filePath(suggestedFileName() + QLatin1Char('.') + suffix), filter, suffix);
}

void MainWin::exportPicture() {
    if (!m_shown) {
        return;
    }
    const QString path = chooseExportFile(QStringLiteral("导出图片"), QStringLiteral("png"),
                                          QStringLiteral("PNG 图片 (*.png)"));
    if (path.isEmpty()) {
        return;
    }
    const bool written = ChartDocument::ofCalculation(*m_shown, font()).picture().save(path, "PNG");
    showStatus((written ? QStringLiteral("已导出: %1") : QStringLiteral("导出失败: %1"))
                   .arg(QDir::toNativeSeparators(path)));
}

void MainWin::exportPdf() {
    if (!m_shown) {
        return;
    }
    const QString path = chooseExportFile(QStringLiteral("导出PDF"), QStringLiteral("pdf"),
                                          QStringLiteral("PDF 文档 (*.pdf)"));
    if (path.isEmpty()) {
        return;
    }
    const bool written = ChartDocument::ofCalculation(*m_shown, font()).writePdf(path);
    showStatus((written ? QStringLiteral("已导出: %1") : QStringLiteral("导出失败: %1"))
                   .arg(QDir::toNativeSeparators(path)));
}

void MainWin::printChart() {
    if (!m_shown) {
        return;
    }
    const ChartDocument document = ChartDocument::ofCalculation(*m_shown, font());
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setDocName(document.title());
    if (!m_choosePrinter(printer)) {
        return;
    }
    showStatus(document.print(printer) ? QStringLiteral("已送交打印") : QStringLiteral("打印失败"));
}

void MainWin::copyResult() {
    if (!m_shown) {
        return;
    }
    QGuiApplication::clipboard()->setText(resultText());
    showStatus(QStringLiteral("演算结果已复制"));
}

QString MainWin::aboutText() const {
    const auto path = [](const std::filesystem::path& file) {
        return QDir::toNativeSeparators(QString::fromStdString(file.string())).toHtmlEscaped();
    };
    QString disclaimer = InputPanel::disclaimerText();
    disclaimer.remove(QChar(0x2014)); // the rules around it belong to the window's line
    return QStringLiteral("<h3>%1</h3>"
                          "<p>六爻排盘、卦解与快乐8推演参考号码。</p>"
                          "<p><b>许可:</b> Quenmar 以 MIT 许可发布。所用开源组件: "
                          "Qt 6 (LGPL-3.0)、Qt Charts (GPL-3.0)、SQLite (公有领域)、libcurl (curl "
                          "许可)、libqrencode (LGPL-2.1)、"
                          "JsonCpp (MIT)、OpenSSL (Apache-2.0)、ERFA (BSD-3-Clause)、Modest (LGPL-2.1)。</p>"
                          "<p><b>声明:</b> %2。</p>"
                          "<p><b>历史记录:</b> %3<br><b>设置:</b> %4</p>")
        .arg(mainTitle(), disclaimer.toHtmlEscaped(), path(support::databasePath(m_context.dataRoot)),
             path(support::configPath(m_context.dataRoot)));
}

void MainWin::showAbout() {
    MessageBox::about(this, QStringLiteral("关于 Quenmar"), aboutText());
}

DrawHistoryWin* MainWin::drawHistoryWin() const {
    return m_drawHistory.data();
}

ExpertWin* MainWin::expertWin() const {
    return m_expert.data();
}

void MainWin::openExpertChart() {
    if (!m_expert) {
        auto* window = new ExpertWin(m_context.clock().standardBiasMinutes, font(), this);
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->setPrinterChooser(m_choosePrinter);
        if (m_shown) {
            window->showCalculation(*m_shown);
        }
        m_expert = window;
    }
    m_expert->show();
    m_expert->raise();
    m_expert->activateWindow();
}

void MainWin::openDrawHistory() {
    if (!m_drawHistory) {
        auto* window = new DrawHistoryWin(m_context, this);
        window->setAttribute(Qt::WA_DeleteOnClose);
        m_drawHistory = window;
    }
    m_drawHistory->show();
    m_drawHistory->raise();
    m_drawHistory->activateWindow();
}

void MainWin::checkForUpdates(const update::UpdateCheckSettings& settings) {
    auto* watcher = new QFutureWatcher<std::optional<update::UpdateOffer>>(this);
    connect(watcher, &QFutureWatcher<std::optional<update::UpdateOffer>>::finished, this,
            [this, watcher, settings] {
                const std::optional<update::UpdateOffer> offer = watcher->result();
                watcher->deleteLater();
                if (offer) {
                    showUpdateWindow(*offer, update::installerDownloadOptions(settings.caFile));
                }
            });
    watcher->setFuture(QtConcurrent::run([settings] { return update::checkForUpdate(settings); }));
}

void MainWin::showUpdateWindow(const update::UpdateOffer& offer,
                               const support::HttpOptions& downloadOptions) {
    if (m_updateWin) {
        return;
    }
    auto* window = new UpdateWin(
        offer, downloadOptions, [this] { close(); }, this);
    window->setAttribute(Qt::WA_DeleteOnClose);
    m_updateWin = window;
    window->show();
}

} // namespace quenmar::app
