#pragma once

#include "update/UpdateDownload.h"
#include "update/UpdateWindowModel.h"

#include <QDialog>
#include <array>
#include <functional>

class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

namespace quenmar::app {

/// The update window: the new version's details, the download with its progress, the
/// fingerprint check and the start of the installer. Its state machine lives in the
/// toolkit-free model; the download runs on a worker thread that reaches the window only
/// through queued calls, and the window's destruction cancels and joins it first.
class UpdateWin : public QDialog {
    Q_OBJECT

public:
    /// `endProgram` closes the main window once the installer runs.
    UpdateWin(update::UpdateOffer offer, support::HttpOptions downloadOptions,
              std::function<void()> endProgram, QWidget* parent = nullptr);
    ~UpdateWin() override;

    const update::UpdateWindowModel& model() const { return m_model; }
    QPushButton* laterButton() const { return m_later; }
    QPushButton* actionButton() const { return m_action; }
    QProgressBar* progressBar() const { return m_progress; }
    QLabel* statusLabel() const { return m_status; }
    QLabel* line(int index) const { return m_lines[static_cast<std::size_t>(index)]; }
    QPlainTextEdit* notesBox() const { return m_notes; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void onAction();
    void refresh();

    update::UpdateWindowModel m_model;
    support::HttpOptions m_downloadOptions;
    std::function<void()> m_endProgram;
    update::UpdateDownload m_download;
    std::array<QLabel*, 5> m_lines{};
    QPlainTextEdit* m_notes = nullptr;
    QProgressBar* m_progress = nullptr;
    QLabel* m_status = nullptr;
    QPushButton* m_later = nullptr;
    QPushButton* m_action = nullptr;
    bool m_closingWithoutQuestion = false;
};

} // namespace quenmar::app
