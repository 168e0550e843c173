#pragma once

#include "store/TableDb.h"

#include <QSignalBlocker>
#include <QString>
#include <QWidget>

#include <vector>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace quenmar::app {

/// A caption label with an edit box below it (multi-line) or beside it (one line); every
/// change of the box raises `edited` with whether its trimmed text is empty.
class LabeledEdit : public QWidget {
    Q_OBJECT

public:
    enum class Placement { Above, Left };

    LabeledEdit(const QString& caption, Placement placement, QWidget* parent = nullptr);

    QString text() const;
    void setText(const QString& text);
    void clear() { setText(QString()); }
    QWidget* editor() const;
    QPlainTextEdit* multiLine() const { return m_multi; }
    QLineEdit* singleLine() const { return m_single; }
    QLabel* caption() const { return m_caption; }

signals:
    void edited(bool empty);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    Placement m_placement;
    QLabel* m_caption = nullptr;
    QPlainTextEdit* m_multi = nullptr;
    QLineEdit* m_single = nullptr;
};

/// The right column: the history list, the results box with its QR code, the user's notes,
/// the title to save under, and the save and help buttons.
class RecordPanel : public QWidget {
    Q_OBJECT

public:
    /// Record-button ids raised with `recordButton`.
    static constexpr int kDeleteButton = 1;
    static constexpr int kHelpButton = 5;

    explicit RecordPanel(QWidget* parent = nullptr);

    /// Builds the controls for the panel's size (the main window calls it after laying out).
    void buildContent();

    /// Empties and refills the history list, newest first.
    void fillList(const std::vector<store::ListRow>& rows);
    void clearResults();
    void clearAfterSave();
    void showResultText(const QString& text);
    QString resultText() const;
    QString notesText() const;

    /// Removes the ticked entries one by one, calling `remove` with each record id.
    template <typename Remove>
    void removeTicked(Remove remove);

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
    void saveClicked(const QString& name);
    void recordButton(int id);
    void entryDoubleClicked(int recordId);

private:
    void onResultsEdited(bool empty);
    void onNameEdited(bool empty);
    void onSave();
    void toggleQr();
    void updateDeleteButton();
    bool takeTicked(int row);
    int entryCount() const;
    int entryId(int row) const;
    void removeEntry(int row);

    QListWidget* m_list = nullptr;
    QCheckBox* m_selectAll = nullptr;
    QPushButton* m_delete = nullptr;
    LabeledEdit* m_results = nullptr;
    QPushButton* m_qrButton = nullptr;
    QLabel* m_qrPicture = nullptr;
    LabeledEdit* m_notes = nullptr;
    LabeledEdit* m_name = nullptr;
    QPushButton* m_save = nullptr;
    QPushButton* m_help = nullptr;
};

template <typename Remove>
void RecordPanel::removeTicked(Remove remove) {
    // Removing entries is not a selection by the user: the delete button keeps its state.
    const QSignalBlocker blocker(reinterpret_cast<QObject*>(m_list));
    int i = 0;
    while (i < entryCount()) {
        if (takeTicked(i)) {
            remove(entryId(i));
            removeEntry(i);
        } else {
            ++i;
        }
    }
}

} // namespace quenmar::app
