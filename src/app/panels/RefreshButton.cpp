#include "app/panels/RefreshButton.h"

#include <QPainter>
#include <QPixmap>
#include <QStyle>
#include <QStyleOptionFocusRect>

namespace quenmar::app {

RefreshButton::RefreshButton(QWidget* parent) : QAbstractButton(parent) {
    setObjectName(QStringLiteral("refreshButton"));
    setToolTip(QStringLiteral("刷新开奖数据"));
    setCursor(Qt::PointingHandCursor);
    resize(draws::kRefreshButtonSize, draws::kRefreshButtonSize);
}

void RefreshButton::paintEvent(QPaintEvent*) {
    const QString picture = isDown()    ? QStringLiteral(":/icons/refresh-pressed.svg")
                            : m_hovered ? QStringLiteral(":/icons/refresh-hover.svg")
                                        : QStringLiteral(":/icons/refresh-normal.svg");
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(rect(), QPixmap(picture));
    if (hasFocus()) {
        // Reached by Tab: the picture alone would not show it; Space refreshes.
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}

void RefreshButton::enterEvent(QEnterEvent* event) {
    m_hovered = true;
    update();
    QAbstractButton::enterEvent(event);
}

void RefreshButton::leaveEvent(QEvent* event) {
    m_hovered = false;
    update();
    QAbstractButton::leaveEvent(event);
}

} // namespace quenmar::app
