#pragma once

#include "app/AppContext.h"
#include "draws/LatestDrawRefresh.h"
#include "engine/CastRequest.h"
#include "engine/ChartResult.h"
#include "prediction/Calculation.h"

#include <QFont>
#include <QFutureWatcher>
#include <QTimer>
#include <QWidget>

namespace quenmar::app {

class ChartPanel;
class DrawsPanel;
class InputPanel;
class RecordPanel;

/// The one child of the main window: it holds the four working panels and routes their
/// events among them; everything outside the panels it hands up to MainWin as one of nine
/// events. It also owns the draws refresh timer and the selected lottery code.
class MainPanel : public QWidget {
    Q_OBJECT

public:
    MainPanel(const AppContext& context, draws::RefreshServices refreshServices, const QFont& uiFont,
              QWidget* parent = nullptr);

    DrawsPanel* drawsPanel() const { return m_draws; }
    InputPanel* inputPanel() const { return m_input; }
    ChartPanel* chartPanel() const { return m_chart; }
    RecordPanel* recordPanel() const { return m_record; }
    QTimer* refreshTimer() const { return m_refreshTimer; }
    int lotteryCode() const { return m_lotteryCode; }
    /// True while a draws refresh runs on its worker.
    bool refreshInFlight() const { return m_refreshGate.busy(); }

    /// Starts the refresh timer (3000 ms); each tick clicks the refresh button.
    void startRefreshTimer();

signals:
    /// A message of the user's own action (the outcome of "演算").
    void statusText(const QString& message);
    /// A message of the draws refresh, which runs by itself every 3 s while offline.
    void refreshStatusText(const QString& message);
    void openLineEntry();
    void chartReady(const quenmar::Calculation& calculation);
    /// The results box was filled or emptied (a calculation shown, "重设", a new choice).
    void resultsShown(bool shown);
    void saveRequested(const QString& name, bool hasChart, const quenmar::ChartResult& chart,
                       const QString& notes);
    void deleteRequested();
    void helpRequested();
    void reviewRequested(int recordId);
    /// The draws a refresh obtained are kept; `note` names any that differ from the draw kept
    /// under their issue (which stays), and is empty otherwise.
    void drawsKept(const QString& note);

private:
    void compute(int code, const QString& message, const CastRequest& request);
    void refreshLatestDraw();
    void applyRefresh(const draws::RefreshOutcome& outcome);
    void keepDraws(const draws::RefreshOutcome& outcome);

    AppContext m_context;
    draws::RefreshServices m_refreshServices;
    QFont m_uiFont;
    int m_lotteryCode = kGameHappy8;
    DrawsPanel* m_draws = nullptr;
    InputPanel* m_input = nullptr;
    ChartPanel* m_chart = nullptr;
    RecordPanel* m_record = nullptr;
    QTimer* m_refreshTimer = nullptr;
    draws::RefreshGate m_refreshGate;
    QFutureWatcher<draws::RefreshOutcome>* m_refreshWatcher = nullptr;
};

} // namespace quenmar::app
