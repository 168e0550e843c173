#pragma once

#include "draws/DrawsPanelLayout.h"

#include <QAbstractButton>

namespace quenmar::app {

/// The 32 × 32 refresh picture button: its picture follows its state (normal, under the
/// mouse, pressed).
class RefreshButton : public QAbstractButton {
    Q_OBJECT

public:
    explicit RefreshButton(QWidget* parent = nullptr);
    QSize sizeHint() const override { return {draws::kRefreshButtonSize, draws::kRefreshButtonSize}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    bool m_hovered = false;
};

} // namespace quenmar::app
