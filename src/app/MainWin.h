#pragma once

// The main window and how its parts are wired.
//
//   MainWin ── MainPanel ─┬─ DrawsPanel   latest draw; refresh button (+ the 3 s refresh timer)
//      │                  ├─ InputPanel   method, zodiac, number / hand lines / time → validated
//      │                  ├─ ChartPanel   runs the calculation, shows grid and report → chart finished
//      │                  └─ RecordPanel  history list, results box + QR, notes, name, save, help
//      ├─ menu bar: 文件 (export picture / PDF, print, quit), 编辑 (copy the result),
//      │            工具 (entries later windows attach to), 帮助 (help book, about)
//      ├─ status bar (field 0 takes every message)
//      ├─ LoadWin (splash), GuaWin (lines by hand), the update timer
//
// Panels never call each other: they raise signals to MainPanel, which routes them among the
// panels (results reset, compute) and raises nine signals of its own to MainWin (status text,
// the draws refresh's status text, open line entry, chart ready, results shown, save, delete,
// help, review). A calculation is made whole by runCalculation, chart, number basis and
// prediction; MainWin shows its prediction, keeps it for export, print and copy (a
// ChartDocument of it) while the results box shows it, and acts on the subsystems outside the
// panels: the record store, the help book and the update check.
//
// The menu bar sits above the panels' described area: the window is that much taller, so every
// panel keeps its place and size.

#include "app/AppContext.h"
#include "app/ChartDocument.h"
#include "draws/LatestDrawRefresh.h"
#include "engine/ChartResult.h"
#include "prediction/Calculation.h"
#include "update/UpdateCheck.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QMainWindow>
#include <QPointer>
#include <QTimer>
#include <array>
#include <functional>
#include <optional>

class QAction;
class QPrinter;

namespace quenmar::app {

class DrawHistoryWin;
class ExpertWin;
class MainPanel;
class UpdateWin;

class MainWin : public QMainWindow {
    Q_OBJECT

public:
    static constexpr int kDesignHeight = 600;
    /// The outer width set at creation, unscaled, in place of the design width of 800.
    static constexpr int kOuterWidth = 1024;
    static constexpr int kUpdateDelayMs = 5000;
    /// How long a message of the user's own action holds the status bar against the
    /// messages of the draws refresh.
    static constexpr int kUserMessageHoldMs = 5000;

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

    /// The entries of 工具: 详细排盘 and 开奖记录与对奖.
    enum class Tool { ExpertChart, DrawHistory };
    /// A 工具 entry (object names actionExpertChart, actionDrawHistory).
    QAction* toolAction(Tool tool) const { return m_tools[static_cast<std::size_t>(tool)]; }

    /// The calculation whose prediction the results box shows; nothing while it is empty.
    const std::optional<Calculation>& shownCalculation() const { return m_shown; }
    /// The file name that export suggests, without its suffix: the record's title when the
    /// calculation shown was saved or reviewed, else its moment ("2022年11月7日12时").
    QString suggestedFileName() const;
    /// What 复制结果 puts on the clipboard: the title line, the report and the prediction.
    QString resultText() const;
    /// The about box's text: version, licence, disclaimer, where history and settings are kept.
    QString aboutText() const;
    /// How 打印… chooses its printer; by default Qt's print dialog (tests print to a file).
    void setPrinterChooser(std::function<bool(QPrinter&)> choose) { m_choosePrinter = std::move(choose); }

    /// Asks the update server on a worker (the request has its own time limits) and opens the
    /// update window when a newer version is offered.
    void checkForUpdates(const update::UpdateCheckSettings& settings);
    /// Opens the update window for an offer.
    void showUpdateWindow(const update::UpdateOffer& offer, const support::HttpOptions& downloadOptions);

public slots:
    /// Writes a message of the user's own action into status field 0.
    void showStatus(const QString& message);
    /// Writes a message of the draws refresh, unless a message of the user's own action is
    /// younger than kUserMessageHoldMs: then it waits until that one has been read.
    void showRefreshStatus(const QString& message);
    void openLineEntry();
    void showPrediction(const quenmar::Calculation& calculation);
    void saveRecord(const QString& name, bool hasChart, const quenmar::ChartResult& chart,
                    const QString& notes);
    void deleteTicked();
    void review(int recordId);
    void fillHistory();
    void openHelp();
    void exportPicture();
    void exportPdf();
    void printChart();
    void copyResult();
    void showAbout();
    /// Opens the window of the kept draws and the check of the saved calculations (工具 →
    /// 开奖记录与对奖), or raises it when it is open.
    void openDrawHistory();
    DrawHistoryWin* drawHistoryWin() const;
    /// Opens the window 详细排盘 (工具 → 详细排盘) on the calculation shown, or raises it; while
    /// open it follows every calculation the window shows.
    void openExpertChart();
    ExpertWin* expertWin() const;

protected:
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildMenus();
    void layoutPanels();
    void orderTabStops();
    void showResultsShown(bool shown);
    /// Asks for the file to export into, suggesting suggestedFileName() with `suffix`; empty
    /// when the user cancelled.
    QString chooseExportFile(const QString& caption, const QString& suffix, const QString& filter);

    AppContext m_context;
    MainPanel* m_panel = nullptr;
    QLabel* m_status = nullptr;
    QLabel* m_status2 = nullptr;
    QTimer* m_updateTimer = nullptr;
    QElapsedTimer m_userMessageAge;
    QTimer* m_heldRefreshTimer = nullptr;
    QString m_heldRefreshText;
    std::function<void()> m_updateCheck;
    bool m_activated = false;
    QString m_lastHelpUrl;
    std::optional<Calculation> m_shown;
    QString m_shownTitle;            // the record title of the calculation shown, if it has one
    QString m_reviewTitle;           // the title of the record being reviewed, while its run is under way
    QList<QAction*> m_resultActions; // export, print, copy: only while a result is shown
    std::array<QAction*, 2> m_tools{};
    std::function<bool(QPrinter&)> m_choosePrinter;
    QPointer<UpdateWin> m_updateWin;
    QPointer<DrawHistoryWin> m_drawHistory;
    QPointer<ExpertWin> m_expert;
};

} // namespace quenmar::app
