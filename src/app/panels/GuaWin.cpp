#include "app/panels/GuaWin.h"

namespace quenmar::app {

GuaWin::GuaWin(const ClockReading& now, std::function<void(const HandEntry&)> store, QWidget* parent)
    : QDialog(parent), m_store(std::move(store)) {
    setObjectName(QStringLiteral("guaWin"));
    setWindowTitle(QStringLiteral("自己装卦"));
    setModal(true);
    m_panel = new LineEntryPanel(now, this);
    connect(m_panel, &LineEntryPanel::accepted, this, [this](const HandEntry& entry) {
        m_store(entry);
        accept();
    });
    connect(m_panel, &LineEntryPanel::cancelled, this, &QDialog::reject);
    // The design width, or wider when the panel needs it: nothing of it may be cut off.
    resize(std::max(kDesignWidth, m_panel->width() + 20), kDesignHeight);
}

void GuaWin::resizeEvent(QResizeEvent*) {
    const int panelHeight = std::max(kPanelHeight, m_panel->sizeHint().height());
    m_panel->setGeometry(10, 10, std::max(m_panel->width(), width() - 20),
                         std::min(panelHeight, m_panel->height()));
    const int wanted = m_panel->geometry().bottom() + 1 + 10;
    if (height() != wanted) {
        resize(width(), wanted); // the window is as high as the panel needs
    }
}

} // namespace quenmar::app
