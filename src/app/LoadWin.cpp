#include "app/LoadWin.h"

#include <QPainter>
#include <QPixmap>

namespace quenmar::app {

LoadWin::LoadWin(QWidget* parent) : QDialog(parent, Qt::SplashScreen | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("loadWin"));
    setModal(true);
    resize(kDesignWidth, kDesignHeight);
    m_timer = new QTimer(this);
    m_timer->setSingleShot(true);
    m_timer->setTimerType(Qt::PreciseTimer); // a coarse timer may fire up to 5 % early
    connect(m_timer, &QTimer::timeout, this, &QDialog::accept);
}

void LoadWin::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // The three seconds count from the first time the splash is on screen.
    if (!m_started) {
        m_started = true;
        m_timer->start(kShowMs);
    }
}

void LoadWin::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(rect(), QPixmap(QStringLiteral(":/images/splash.svg")));
}

void LoadWin::mousePressEvent(QMouseEvent*) {
    m_timer->stop();
    accept();
}

} // namespace quenmar::app
