#pragma once

// The main window and how its parts are wired.
//
//   MainWin ── MainPanel ─┬─ DrawsPanel   latest draw; refresh button (+ the 3 s refresh timer)
//      │                  ├─ InputPanel   method, zodiac, number / hand lines / time → validated
//      │                  ├─ ChartPanel   runs the calculation, shows grid and report → chart finished
//      │                  └─ RecordPanel  history list, results box + QR, notes, name, save, help
//      ├─ status bar (field 0 takes every message)
//      ├─ LoadWin (splash), GuaWin (lines by hand), the update timer
//
// Panels never call each other: they raise signals to MainPanel, which routes them among the
// panels (results reset, compute) and raises seven signals of its own to MainWin (status text,
// open line entry, chart ready, save, delete, help, review). A calculation is made whole by
// runCalculation, chart, number basis and prediction; MainWin shows its prediction and acts on
// the subsystems outside the panels: the record store, the help book and the update check.

#include "app/AppContext.h"
#include "draws/LatestDrawRefresh.h"
#include "engine/ChartResult.h"
#include "prediction/Calculation.h"
#include "update/UpdateCheck.h"

#include <QLabel>
#include <QMainWindow>
#include <QPointer>
#include <QTimer>
#include <functional>

namespace quenmar::app {

class DrawHistoryWin;
class MainPanel;
class UpdateWin;

class MainWin : public QMainWindow {
    Q_OBJECT

public:
    static constexpr int kDesignHeight = 600;
    /// The outer width set at creation, unscaled, in place of the design width of 800.
    static constexpr int kOuterWidth = 1024;
    static constexpr int kUpdateDelayMs = 5000;

    /// Builds the window hidden, with every panel laid out (the creation steps up to the
    /// record panel's content).
    MainWin(const AppContext& context, draws::RefreshServices refreshServices, QWidget* parent = nullptr);

    /// The rest of the start: the splash (when wanted), the window shown, the draws refresh
    /// timer, and the update timer when today's check is still due.
    void start();

    MainPanel* mainPanel() const { return m_panel; }
    QString statusText() const { return m_status->text(); }
    QTimer* updateTimer() const { return m_updateTimer; }
    /// What the update timer's tick runs (nothing until the update check is attached).
    void setUpdateCheck(std::function<void()> check) { m_updateCheck = std::move(check); }
    /// The help book's address of the last help request.
    QString lastHelpUrl() const { return m_lastHelpUrl; }

    /// Asks the update server on a worker (the request has its own time limits) and opens the
    /// update window when a newer version is offered.
    void checkForUpdates(const update::UpdateCheckSettings& settings);
    /// Opens the update window for an offer.
    void showUpdateWindow(const update::UpdateOffer& offer, const support::HttpOptions& downloadOptions);

public slots:
    void showStatus(const QString& message);
    void openLineEntry();
    void showPrediction(const quenmar::Calculation& calculation);
    void saveRecord(const QString& name, bool hasChart, const quenmar::ChartResult& chart,
                    const QString& notes);
    void deleteTicked();
    void review(int recordId);
    void fillHistory();
    void openHelp();
    /// Opens the window of the kept draws and the check of the saved calculations (工具 →
    /// 开奖记录与对奖), or raises it when it is open.
    void openDrawHistory();
    DrawHistoryWin* drawHistoryWin() const;

protected:
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void layoutPanels();

    AppContext m_context;
    MainPanel* m_panel = nullptr;
    QLabel* m_status = nullptr;
    QLabel* m_status2 = nullptr;
    QTimer* m_updateTimer = nullptr;
    std::function<void()> m_updateCheck;
    bool m_activated = false;
    QString m_lastHelpUrl;
    QPointer<UpdateWin> m_updateWin;
    QPointer<DrawHistoryWin> m_drawHistory;
};

} // namespace quenmar::app
