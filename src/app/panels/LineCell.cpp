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
    drawLine(painter, rect(), m_bit, palette().color(QPalette::WindowText));
}

void LineCell::drawLine(QPainter& painter, const QRect& area, const QString& bit, const QColor& ink) {
    const int barHeight = std::max(3, area.height() / 3);
    const int top = area.top() + (area.height() - barHeight) / 2;
    if (bit == QLatin1String("1")) {
        painter.fillRect(area.left(), top, area.width(), barHeight, ink);
    } else {
        const int third = area.width() / 3;
        painter.fillRect(area.left(), top, third, barHeight, ink);
        painter.fillRect(area.right() + 1 - third, top, third, barHeight, ink);
    }
}

} // namespace quenmar::app
