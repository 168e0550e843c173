#pragma once

// 开奖记录与对奖: the kept draws and how the saved calculations did against them.
//
//   DrawHistoryWin ─┬─ tab 开奖记录   the kept draws, newest first; 导入CSV…, 导出CSV…
//                   ├─ tab 对奖       开始对奖: every saved calculation against its draw
//                   │                  (CheckTableModel, hits highlighted), the summary as a
//                   │                  bar chart beside chance (HitsChart), the note that the
//                   │                  numbers are for entertainment
//                   └─ progress bar and 取消 for the work in progress
//
// Importing a file and checking every record run on a worker with a connection of their own
// to the history file, so that the window stays responsive and a cancelled import keeps
// nothing; the UI thread only polls their progress and shows their outcome.

#include "app/AppContext.h"
#include "tally/DrawCsv.h"
#include "tally/RecordCheck.h"

#include <QFutureWatcher>
#include <QWidget>
#include <atomic>
#include <memory>
#include <optional>

class QLabel;
class QProgressBar;
class QPushButton;
class QTabWidget;
class QTableView;
class QTableWidget;
class QTimer;

namespace quenmar::app {

class CheckTableModel;
class HitsChart;

class DrawHistoryWin : public QWidget {
    Q_OBJECT

public:
    explicit DrawHistoryWin(const AppContext& context, QWidget* parent = nullptr);
    ~DrawHistoryWin() override;

    QTabWidget* tabs() const { return m_tabs; }
    QTableWidget* drawsTable() const { return m_drawsTable; }
    QPushButton* importButton() const { return m_import; }
    QPushButton* exportButton() const { return m_export; }
    QLabel* drawsStatus() const { return m_drawsStatus; }
    QPushButton* checkButton() const { return m_check; }
    QLabel* checkStatus() const { return m_checkStatus; }
    QLabel* summaryLabel() const { return m_summary; }
    CheckTableModel* checkModel() const { return m_model; }
    HitsChart* chart() const { return m_chart; }
    QProgressBar* progressBar() const { return m_progress; }
    QPushButton* cancelButton() const { return m_cancel; }
    /// True while an import or a check runs.
    bool busy() const { return m_busy; }

public slots:
    /// Lists the kept draws again.
    void refreshDraws();
    /// Asks for a CSV file and imports it on the worker.
    void importDraws();
    /// Asks for a file and writes every kept draw into it.
    void exportDraws();
    /// Checks every saved calculation on the worker.
    void runCheck();
    /// Stops the work in progress: an import keeps nothing, a check shows what it had done.
    void cancelWork();

signals:
    /// An import or a check has ended and its outcome is shown.
    void workFinished();

private:
    /// What the worker and the UI thread share while work runs.
    struct Progress {
        std::atomic<std::size_t> done{0};
        std::atomic<std::size_t> total{0};
        std::atomic<bool> cancelled{false};
    };
    struct ImportOutcome {
        std::optional<tally::ImportReport> report;
        tally::CsvProblem problem;
    };
    struct CheckOutcome {
        std::vector<tally::RecordCheck> checks;
        tally::TallySummary summary;
        std::size_t records = 0;
        bool cancelled = false;
        QString failure;
    };

    QWidget* buildDrawsTab();
    QWidget* buildCheckTab();
    void beginWork();
    void endWork();
    void showProgress();
    void showImport(const ImportOutcome& outcome);
    void showCheck(const CheckOutcome& outcome);

    AppContext m_context;
    QTabWidget* m_tabs = nullptr;
    QTableWidget* m_drawsTable = nullptr;
    QPushButton* m_import = nullptr;
    QPushButton* m_export = nullptr;
    QLabel* m_drawsStatus = nullptr;
    QPushButton* m_check = nullptr;
    QLabel* m_checkStatus = nullptr;
    QLabel* m_summary = nullptr;
    QTableView* m_checkView = nullptr;
    CheckTableModel* m_model = nullptr;
    HitsChart* m_chart = nullptr;
    QProgressBar* m_progress = nullptr;
    QPushButton* m_cancel = nullptr;
    QTimer* m_poll = nullptr;
    bool m_busy = false;
    std::shared_ptr<Progress> m_work;
    QFutureWatcher<ImportOutcome>* m_importWatcher = nullptr;
    QFutureWatcher<CheckOutcome>* m_checkWatcher = nullptr;
};

} // namespace quenmar::app
