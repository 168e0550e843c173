#include "app/panels/LineCell.h"

#include <QPainter>
#include <cmath>

namespace quenmar::app {

LineCell::LineCell(QWidget* parent) : QWidget(parent) {}

void LineCell::setBit(const QString& bit) {
    if (bit != m_bit) {
        m_bit = bit;
        update();
    }
}

void LineCell::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintBit(painter, rect(), m_bit, palette().color(QPalette::WindowText));
}

void LineCell::paintBit(QPainter& painter, const QRectF& cell, const QString& bit, const QColor& ink) {
    if (bit != QLatin1String("1") && bit != QLatin1String("0")) {
        return;
    }
    const qreal barHeight = std::max(3.0, std::floor(cell.height() / 3));
    const qreal top = cell.top() + std::floor((cell.height() - barHeight) / 2);
    if (bit == QLatin1String("1")) {
        painter.fillRect(QRectF(cell.left(), top, cell.width(), barHeight), ink);
    } else {
        const qreal third = std::floor(cell.width() / 3);
        painter.fillRect(QRectF(cell.left(), top, third, barHeight), ink);
        painter.fillRect(QRectF(cell.right() - third, top, third, barHeight), ink);
    }
}

} // namespace quenmar::app
