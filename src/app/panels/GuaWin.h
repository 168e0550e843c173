#pragma once

#include "engine/Casting.h"

#include <QDialog>
#include <QWidget>

#include <array>
#include <functional>
#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QPushButton;

namespace quenmar::app {

/// The six lines tossed by hand and the time of the toss, as the line-entry panel hands them
/// over on "确定".
struct HandEntry {
    std::string upperLines; // lines 4, 5, 6
    std::string lowerLines; // lines 1, 2, 3
    std::vector<int> movingFlags;
    double moment = 0.0;
};

/// Six line pickers (top row line 6), the toss-time pickers of the current day, and the
/// buttons "确定" and "取消".
class LineEntryPanel : public QWidget {
    Q_OBJECT

public:
    /// Result codes of `finished`.
    static constexpr int kAccepted = 1;
    static constexpr int kCancelled = 2;

    LineEntryPanel(const ClockReading& now, QWidget* parent = nullptr);

    /// The picker of line 1..6.
    QComboBox* linePicker(int line) const;
    /// The toss-time pickers: 0 year, 1 month, 2 day, 3 hour, 4 minute, 5 second.
    QComboBox* timePicker(int index) const;
    QPushButton* okButton() const { return m_ok; }
    QPushButton* cancelButton() const { return m_cancel; }

signals:
    void finished(int code, const quenmar::app::HandEntry& entry);

private:
    void accept();

    std::array<QComboBox*, 6> m_lines{}; // index 0 = line 1
    std::array<QComboBox*, 6> m_time{};
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};

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
