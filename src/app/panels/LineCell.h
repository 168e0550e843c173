#pragma once

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

    /// Draws the line of a bit ("1" yang, anything else yin) into a rectangle, as the cell does;
    /// for every chart that draws its lines alike.
    static void drawLine(QPainter& painter, const QRect& area, const QString& bit, const QColor& ink);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_bit;
};

} // namespace quenmar::app
