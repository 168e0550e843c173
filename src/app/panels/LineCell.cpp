#include "app/panels/LineCell.h"

#include <QPainter>

namespace quenmar::app {

LineCell::LineCell(QWidget* parent) : QWidget(parent) {}

void LineCell::setBit(const QString& bit) {
    if (bit != m_bit) {
        m_bit = bit;
        update();
    }
}

void LineCell::paintEvent(QPaintEvent*) {
    if (m_bit.isEmpty()) {
        return;
    }
    QPainter painter(this);
    const int barHeight = std::max(3, height() / 3);
    const int top = (height() - barHeight) / 2;
    const QColor ink = palette().color(QPalette::WindowText);
    if (m_bit == QLatin1String("1")) {
        painter.fillRect(0, top, width(), barHeight, ink);
    } else {
        const int third = width() / 3;
        painter.fillRect(0, top, third, barHeight, ink);
        painter.fillRect(width() - third, top, third, barHeight, ink);
    }
}

} // namespace quenmar::app
