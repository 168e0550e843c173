#pragma once

#include <QColor>
#include <QRectF>
#include <QString>
#include <QWidget>

class QPainter;

namespace quenmar::app {

/// A cell of the two 卦象 columns: one bar across the cell for a yang line, two bars over the
/// first and the last third for a yin line, nothing while empty.
class LineCell : public QWidget {
    Q_OBJECT

public:
    explicit LineCell(QWidget* parent = nullptr);
    void setBit(const QString& bit);
    QString bit() const { return m_bit; }

    /// Draws a line's bars into `cell` as the grid shows them: "1" one bar, "0" two, other
    /// texts nothing. Exports and prints draw the same bars.
    static void paintBit(QPainter& painter, const QRectF& cell, const QString& bit, const QColor& ink);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_bit;
};

} // namespace quenmar::app
