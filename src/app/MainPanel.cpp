#include "app/MainPanel.h"

#include "app/panels/ChartPanel.h"
#include "app/panels/DrawsPanel.h"
#include "app/panels/InputPanel.h"
#include "app/panels/RecordPanel.h"
#include "draws/Lottery.h"
#include "tally/KeepFetched.h"

#include <QtConcurrent/QtConcurrentRun>

namespace quenmar::app {

MainPanel::MainPanel(const AppContext& context, draws::RefreshServices refreshServices, const QFont& uiFont,
                     QWidget* parent)
    : QWidget(parent), m_context(context), m_refreshServices(std::move(refreshServices)), m_uiFont(uiFont) {
    setObjectName(QStringLiteral("mainPanel"));
    m_draws = new DrawsPanel(this);
    m_draws->setObjectName(QStringLiteral("drawsPanel"));
    m_input = new InputPanel(this);
    m_input->setObjectName(QStringLiteral("inputPanel"));
    m_chart = new ChartPanel(this);
    m_chart->setObjectName(QStringLiteral("chartPanel"));
    m_record = new RecordPanel(this);
    m_record->setObjectName(QStringLiteral("recordPanel"));
    m_draws->showPlaceholder(m_uiFont);
    m_lotteryCode = kGameHappy8;

    connect(m_input, &InputPanel::resultsReset, this, [this] {
        m_record->clearResults();
        m_chart->clear();
    });
    connect(m_input, &InputPanel::openLineEntry, this, &MainPanel::openLineEntry);
    connect(m_input, &InputPanel::validated, this, &MainPanel::compute);
    // The calculation arrives whole, number basis and prediction included: it is handed on.
    connect(m_chart, &ChartPanel::chartFinished, this, &MainPanel::chartReady);
    connect(m_record, &RecordPanel::saveClicked, this, [this](const QString& name) {
        emit saveRequested(name, m_chart->hasChart(), m_chart->chart(), m_record->notesText());
        m_record->clearAfterSave();
    });
    connect(m_record, &RecordPanel::resultsShown, this, &MainPanel::resultsShown);
    connect(m_record, &RecordPanel::deleteClicked, this, &MainPanel::deleteRequested);
    connect(m_record, &RecordPanel::helpClicked, this, &MainPanel::helpRequested);
    connect(m_record, &RecordPanel::entryDoubleClicked, this, &MainPanel::reviewRequested);

    m_refreshTimer = new QTimer(this);
    m_refreshTimer->setObjectName(QStringLiteral("refreshTimer"));
    connect(m_refreshTimer, &QTimer::timeout, m_draws->refreshButton(), &QAbstractButton::click);
    connect(m_draws, &DrawsPanel::refreshClicked, this, &MainPanel::refreshLatestDraw);
    m_refreshWatcher = new QFutureWatcher<draws::RefreshOutcome>(this);
    connect(m_refreshWatcher, &QFutureWatcher<draws::RefreshOutcome>::finished, this,
            [this] { applyRefresh(m_refreshWatcher->result()); });
}

void MainPanel::startRefreshTimer() {
    m_refreshTimer->start(draws::kRefreshIntervalMs);
}

void MainPanel::compute(int code, const QString& message, const CastRequest& request) {
    emit statusText(message);
    if (code <= 0 || request.invalid) {
        return;
    }
    CastRequest prepared = request;
    prepareRequest(prepared, m_lotteryCode, m_context.clock());
    m_chart->runCalculation(prepared);
}

void MainPanel::refreshLatestDraw() {
    // The online check and the page can take seconds: they run on a worker, and a tick or a
    // click while one is under way starts no second one.
    if (!m_refreshGate.tryBegin()) {
        return;
    }
    const int code = m_lotteryCode;
    const draws::RefreshServices services = m_refreshServices;
    m_refreshWatcher->setFuture(
        QtConcurrent::run([code, services] { return draws::refreshLatestDraw(code, services); }));
}

void MainPanel::applyRefresh(const draws::RefreshOutcome& outcome) {
    if (outcome.ran) {
        if (!outcome.statusText.empty()) {
            emit refreshStatusText(QString::fromStdString(outcome.statusText));
        }
        if (outcome.stopTimer) {
            m_refreshTimer->stop();
        }
        if (outcome.showDraw) {
            m_draws->showLatestDraw(outcome.kind, QString::fromStdString(outcome.numbersText),
                                    QString::fromStdString(outcome.draw.date),
                                    QString::fromStdString(outcome.draw.issue), m_uiFont);
            keepDraws(outcome);
        }
    }
    m_refreshGate.finish();
}

void MainPanel::keepDraws(const draws::RefreshOutcome& outcome) {
    // Kept beside the display: the next refresh downloads the page again all the same.
    if (m_context.db == nullptr) {
        return;
    }
    const auto kept = tally::keepFetchedDraws(*m_context.db, m_lotteryCode, outcome.listed,
                                              m_context.clock().moment, outcome.source);
    emit drawsKept(kept ? QString::fromStdString(tally::conflictText(*kept))
                        : QStringLiteral("开奖未能保存"));
}

} // namespace quenmar::app
