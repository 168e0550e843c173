#pragma once

#include <QString>
#include <QWidget>

class QLabel;
class QLineEdit;
class QPlainTextEdit;

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
    /// Where the edit box lies inside this widget at its current size.
    QRect editorRect() const;
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

} // namespace quenmar::app
