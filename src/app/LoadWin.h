#pragma once

#include <QDialog>
#include <QTimer>

namespace quenmar::app {

/// The splash window: the splash picture fitted to the window; it closes itself three
/// seconds after it first becomes active, or at once on a click.
class LoadWin : public QDialog {
    Q_OBJECT

public:
    static constexpr int kDesignWidth = 488;
    static constexpr int kDesignHeight = 288;
    static constexpr int kShowMs = 3000;

    explicit LoadWin(QWidget* parent = nullptr);
    QTimer* closeTimer() const { return m_timer; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QTimer* m_timer = nullptr;
    bool m_started = false;
};

} // namespace quenmar::app
