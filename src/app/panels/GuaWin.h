#pragma once

#include "app/panels/LineEntryPanel.h"
#include "engine/Casting.h"

#include <QDialog>
#include <functional>

namespace quenmar::app {

/// The modal window around the line-entry panel.
class GuaWin : public QDialog {
    Q_OBJECT

public:
    static constexpr int kDesignWidth = 480;
    static constexpr int kDesignHeight = 420;
    static constexpr int kPanelHeight = 220;

    /// `store` receives the entry on "确定".
    GuaWin(const ClockReading& now, std::function<void(const HandEntry&)> store, QWidget* parent = nullptr);

    LineEntryPanel* panel() const { return m_panel; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    LineEntryPanel* m_panel = nullptr;
    std::function<void(const HandEntry&)> m_store;
};

} // namespace quenmar::app
