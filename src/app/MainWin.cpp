#include "app/MainWin.h"

#include "app/DrawHistoryWin.h"
#include "app/LoadWin.h"
#include "app/MainPanel.h"
#include "app/MessageBox.h"
#include "app/UiFont.h"
#include "app/UpdateWin.h"
#include "app/panels/ChartPanel.h"
#include "app/panels/DrawsPanel.h"
#include "app/panels/GuaWin.h"
#include "app/panels/InputPanel.h"
#include "app/panels/RecordPanel.h"
#include "base/Version.h"
#include "engine/Moment.h"
#include "prediction/Calculation.h"
#include "store/RecordStore.h"
#include "update/UpdateDownload.h"

#include <QDesktopServices>
#include <QEvent>
#include <QFutureWatcher>
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
    resize(kOuterWidth, kDesignHeight);

    auto* central = new QWidget(this);
    setCentralWidget(central);
    m_panel = new MainPanel(m_context, std::move(refreshServices), font, central);
    m_panel->move(0, 0);
    connect(m_panel, &MainPanel::statusText, this, &MainWin::showStatus);
    connect(m_panel, &MainPanel::openLineEntry, this, &MainWin::openLineEntry);
    connect(m_panel, &MainPanel::chartReady, this, &MainWin::showPrediction);
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

void MainWin::layoutPanels() {
    const int statusHeight = statusBar()->sizeHint().height();
    const int h = std::max(0, height() - statusHeight);
    DrawsPanel* draws = m_panel->drawsPanel();
    InputPanel* input = m_panel->inputPanel();
    ChartPanel* chart = m_panel->chartPanel();
    RecordPanel* record = m_panel->recordPanel();
    draws->move(kGap, kGap);
    input->move(kGap, draws->geometry().bottom() + 1 + kGap);
    chart->setGeometry(0, input->geometry().bottom() + 1 + kGap, chart->width(), h);
    const int chartRight = chart->geometry().right() + 1;
    record->setGeometry(chartRight + kGap, kGap, kOuterWidth - chartRight - 30, h);
    m_panel->resize(record->geometry().right() + 1 + kGap, h);
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
    m_panel->recordPanel()->showResultText(QString::fromStdString(calculation.prediction.text));
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
        fillHistory();
    }
}

void MainWin::deleteTicked() {
    if (!MessageBox::ask(this, QStringLiteral("询问:"),
                         QStringLiteral("确定需要删除当前所选择的历史数据吗?"))) {
        return;
    }
    // One transaction for every ticked entry: quick for thousands, and all of them or none.
    // When none went, the entries stay and the status bar says why.
    m_panel->recordPanel()->removeTicked([this](const std::vector<int>& recordIds) {
        if (m_context.db == nullptr) {
            return false;
        }
        const auto deleted = store::deleteRecords(*m_context.db, recordIds);
        if (!deleted) {
            showStatus(QString::fromStdString(deleted.error() == store::StoreError::StatementFailed
                                                  ? std::string(store::kDeleteFailedText)
                                                  : store::readErrorMessage(deleted.error())));
        }
        return deleted.ok();
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
    m_panel->inputPanel()->restoreFromRecord(r.recordId, r.method, r.zodiac, r.moment, r.numberText,
                                             r.upperLines, r.lowerLines, r.timeChoice, r.movingFlags);
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
    const std::filesystem::path book = m_context.programFolder / "help" / "index.html";
    m_lastHelpUrl = QUrl::fromLocalFile(QString::fromStdString(book.string())).toString();
    if (m_context.openHelpInViewer) {
        QDesktopServices::openUrl(QUrl(m_lastHelpUrl)); // a viewer that does not start is ignored
    }
}

DrawHistoryWin* MainWin::drawHistoryWin() const {
    return m_drawHistory.data();
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
