#include "app/panels/ChoicePicker.h"

#include "app/UiFont.h"

#include <QComboBox>
#include <QLabel>

namespace quenmar::app {

ChoicePicker::ChoicePicker(const QString& caption, const QStringList& items, QWidget* parent)
    : QWidget(parent) {
    const QSize cell = textExtent(font(), QStringLiteral("框"));
    m_label = new QLabel(caption, this);
    const int labelWidth = static_cast<int>(caption.size()) * cell.width();
    m_label->setGeometry(0, 5, labelWidth, cell.height());

    m_list = new QComboBox(this);
    m_list->addItems(items);
    m_list->setMaxVisibleItems(14);
    qsizetype longest = 0;
    for (const QString& item : items) {
        longest = std::max(longest, item.size());
    }
    // The width of the characters, or what this style needs beside them for its arrow and
    // frame, whichever is more: no item is cut off.
    const int listWidth =
        std::max(static_cast<int>(longest + 1) * cell.width() + 10, m_list->sizeHint().width());
    m_list->setGeometry(labelWidth + 10, 2, listWidth, cell.height() + 8);
    resize(labelWidth + 10 + listWidth, cell.height() + 10);

    connect(m_list, &QComboBox::activated, this,
            [this](int index) { emit changed(index, m_list->itemText(index)); });
    m_list->setCurrentIndex(0);
}

int ChoicePicker::currentIndex() const {
    return m_list->currentIndex();
}

void ChoicePicker::select(int index) {
    m_list->setCurrentIndex(index);
    emit changed(index, m_list->itemText(index));
}

} // namespace quenmar::app
