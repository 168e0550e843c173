#pragma once

#include "app/panels/LabeledEdit.h"
#include "store/TableDb.h"

#include <QString>
#include <QWidget>
#include <functional>
#include <vector>

class QCheckBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace quenmar::app {

/// The right column: the history list, the results box with its QR code, the user's notes,
/// the title to save under, and the save and help buttons.
class RecordPanel : public QWidget {
    Q_OBJECT

public:
    explicit RecordPanel(QWidget* parent = nullptr);

    /// Builds the controls for the panel's size (the main window calls it after laying out).
    void buildContent();
    /// How much taller than its described ch × 16 the results box was built, so that a whole
    /// prediction shows without scrolling in this platform's font; 0 when it was not.
    int resultsGrowth() const;
    /// Lays the notes, the name box and the buttons out again for the panel's present
    /// height (the main window grows once by the results box's growth).
    void placeLowerControls();
    void connectControls();

    /// Empties and refills the history list, newest first.
    void fillList(const std::vector<store::ListRow>& rows);
    void clearResults();
    void clearAfterSave();
    void showResultText(const QString& text);
    QString resultText() const;
    QString notesText() const;

    /// Calls `remove` once with the record ids of all ticked entries, and takes the entries
    /// out of the list when it says they are gone.
    void removeTicked(const std::function<bool(const std::vector<int>& recordIds)>& remove);
    int tickedCount() const;

    QListWidget* historyList() const { return m_list; }
    QCheckBox* selectAll() const { return m_selectAll; }
    QPushButton* deleteButton() const { return m_delete; }
    QPushButton* qrButton() const { return m_qrButton; }
    QPushButton* saveButton() const { return m_save; }
    QPushButton* helpButton() const { return m_help; }
    LabeledEdit* resultsBox() const { return m_results; }
    LabeledEdit* notesBox() const { return m_notes; }
    LabeledEdit* nameBox() const { return m_name; }
    /// The QR picture while it is shown; null otherwise.
    QLabel* qrPicture() const { return m_qrPicture; }

signals:
    /// The results box was filled (true) or emptied (false).
    void resultsShown(bool shown);
    void saveClicked(const QString& name);
    void deleteClicked();
    void helpClicked();
    void entryDoubleClicked(int recordId);

private:
    /// Whether the QR picture covers the results box; the QR button's caption says which.
    enum class QrView { Hidden, Shown };

    void onResultsEdited(bool empty);
    void updateSaveButton();
    void onSave();
    QString qrCaption() const;
    void toggleQr();
    void showQr();
    void hideQr();
    void updateDeleteButton();
    int entryId(int row) const;
    /// The results box's height that shows the widest prediction whole at the panel's width.
    int wholePredictionHeight() const;

    QListWidget* m_list = nullptr;
    QCheckBox* m_selectAll = nullptr;
    QPushButton* m_delete = nullptr;
    LabeledEdit* m_results = nullptr;
    QPushButton* m_qrButton = nullptr;
    QLabel* m_qrPicture = nullptr;
    QrView m_qrView = QrView::Hidden;
    LabeledEdit* m_notes = nullptr;
    LabeledEdit* m_name = nullptr;
    QPushButton* m_save = nullptr;
    QPushButton* m_help = nullptr;
};

} // namespace quenmar::app
