#pragma once

#include <QStringList>
#include <QWidget>

class QComboBox;
class QLabel;

namespace quenmar::app {

/// A caption label and a drop-down list side by side, sized from the width and height of one
/// CJK character of the panel's font.
class ChoicePicker : public QWidget {
    Q_OBJECT

public:
    ChoicePicker(const QString& caption, const QStringList& items, QWidget* parent = nullptr);

    int currentIndex() const;
    QComboBox* list() const { return m_list; }

    /// Selects an item and raises `changed` for it, as a selection by the user does.
    void select(int index);

signals:
    /// An item was chosen (also when it was already the current one).
    void changed(int index, const QString& text);

private:
    QLabel* m_label = nullptr;
    QComboBox* m_list = nullptr;
};

} // namespace quenmar::app
