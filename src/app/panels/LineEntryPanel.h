#pragma once

#include "base/DateTime.h"
#include "engine/Casting.h"

#include <QWidget>
#include <array>
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
    LineEntryPanel(const ClockReading& now, QWidget* parent = nullptr);

    /// The picker of line 1..6.
    QComboBox* linePicker(int line) const;
    /// The toss-time pickers: 0 year, 1 month, 2 day, 3 hour, 4 minute, 5 second.
    QComboBox* timePicker(int index) const;
    QPushButton* okButton() const { return m_ok; }
    QPushButton* cancelButton() const { return m_cancel; }

signals:
    /// "确定" with every picker set.
    void accepted(const quenmar::app::HandEntry& entry);
    /// "取消".
    void cancelled();

private:
    QComboBox* addLinePickers(QSize cell);
    QLabel* addCoinTip(const QComboBox& topPicker, QSize cell);
    int addTimePickers(const DateTime& now, QPoint topLeft, QSize cell);
    void addButtons(int panelWidth, int top, QSize cell);
    void accept();

    std::array<QComboBox*, 6> m_lines{}; // index 0 = line 1
    std::array<QComboBox*, 6> m_time{};
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};

} // namespace quenmar::app
