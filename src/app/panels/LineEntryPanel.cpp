#include "app/panels/LineEntryPanel.h"

#include "app/MessageBox.h"
#include "app/UiFont.h"
#include "engine/Moment.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>

namespace quenmar::app {

namespace {

const QStringList kLineItems{QStringLiteral("选择爻相"), QStringLiteral("阳爻---"), QStringLiteral("阴爻——"),
                             QStringLiteral("阳动---○"), QStringLiteral("阴动——×")};
const QStringList kRowLabels{QStringLiteral("六爻:"), QStringLiteral("五爻:"), QStringLiteral("四爻:"),
                             QStringLiteral("三爻:"), QStringLiteral("二爻:"), QStringLiteral("初爻:")};
// The names the "not set" message uses; the last one is written 秒种 there, unlike the
// picker's own first item 秒钟.
const QStringList kTimeNames{QStringLiteral("年份"), QStringLiteral("月份"), QStringLiteral("日期"),
                             QStringLiteral("小时"), QStringLiteral("分钟"), QStringLiteral("秒种")};
const QString kTip =
    QStringLiteral("提示:线下摇卦此项属内行者知晓，古以三枚铜钱放入掌心合掌,心诚默念所测之事,"
                   "摇动铜钱数下放到桌面上，如此六循，即成一卦象；"
                   "其中字面为阳,反面为阴,三个正面为阳动,两个正为阳，两个反面为阴，三个反面为阴动;");

constexpr int kGap = 10;

// One toss-time picker: its own name first, then its choices, one of them selected.
struct TimeColumn {
    QString first;
    QStringList items;
    int selected;
};

QStringList numberedItems(int from, int to, const QString& unit) {
    QStringList items;
    for (int n = from; n <= to; ++n) {
        items << QString::number(n) + unit;
    }
    return items;
}

std::array<TimeColumn, 6> timeColumns(const DateTime& now) {
    return {{
        {QStringLiteral("年份"), {QString::number(now.year) + QStringLiteral("年")}, 1},
        {QStringLiteral("月份"), {QString::number(now.month) + QStringLiteral("月")}, 1},
        {QStringLiteral("日期"), {QString::number(now.day) + QStringLiteral("日")}, 1},
        {QStringLiteral("小时"), numberedItems(0, 23, QStringLiteral("时")), now.hour + 1},
        {QStringLiteral("分钟"), numberedItems(0, 59, QStringLiteral("分")), now.minute + 1},
        {QStringLiteral("秒钟"), numberedItems(0, 59, QStringLiteral("秒")), now.second + 1},
    }};
}

} // namespace

LineEntryPanel::LineEntryPanel(const ClockReading& now, QWidget* parent) : QWidget(parent) {
    const QSize cell = textExtent(font(), QStringLiteral("框"));
    const QComboBox* topPicker = addLinePickers(cell);
    const QLabel* tip = addCoinTip(*topPicker, cell);

    auto* timeCaption = new QLabel(QStringLiteral("线下摇卦时间:"), this);
    timeCaption->setGeometry(tip->x(), tip->geometry().bottom() + 1 + kGap / 2, cell.width() * 24 + 20,
                             cell.height());

    const int timeTop = timeCaption->geometry().bottom() + 1 + 4;
    const DateTime fields = dateTimeFromMoment(now.moment).value_or(DateTime{});
    const int panelWidth = addTimePickers(fields, QPoint(tip->x(), timeTop), cell) + kGap;
    addButtons(panelWidth, timeTop + cell.height() + kGap, cell);
    // Coins are entered from the bottom line up: the focus starts on 初爻 and Tab climbs the
    // rows, then goes through the time pickers to the buttons.
    const QList<QWidget*> stops{m_lines[0], m_lines[1], m_lines[2], m_lines[3], m_lines[4],
                                m_lines[5], m_time[0],  m_time[1],  m_time[2],  m_time[3],
                                m_time[4],  m_time[5],  m_ok,       m_cancel};
    for (qsizetype i = 1; i < stops.size(); ++i) {
        setTabOrder(stops[i - 1], stops[i]);
    }
    m_lines[0]->setFocus();
    resize(panelWidth, std::max(m_lines[0]->geometry().bottom() + 1, m_ok->geometry().bottom() + 1) + kGap);
}

QComboBox* LineEntryPanel::addLinePickers(QSize cell) {
    for (int row = 0; row < 6; ++row) {
        auto* label = new QLabel(kRowLabels[row], this);
        label->setGeometry(0, row * (cell.height() + kGap) + kGap, cell.width() * 3, cell.height());
        auto* picker = new QComboBox(this);
        picker->addItems(kLineItems);
        // Eight characters wide, or what the style needs to show the longest item in full.
        picker->setGeometry(label->geometry().right() + 1, label->y() - 3,
                            std::max(cell.width() * 8, picker->sizeHint().width()), cell.height() + 6);
        const int line = 6 - row;
        picker->setObjectName(QStringLiteral("linePicker%1").arg(line));
        m_lines[static_cast<std::size_t>(line - 1)] = picker;
    }
    return m_lines[5];
}

QLabel* LineEntryPanel::addCoinTip(const QComboBox& topPicker, QSize cell) {
    auto* tip = new QLabel(kTip, this);
    tip->setObjectName(QStringLiteral("coinTip"));
    tip->setWordWrap(true);
    tip->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    tip->setStyleSheet(QStringLiteral("color: rgb(255, 0, 0);"));
    tip->setGeometry(topPicker.geometry().right() + 1 + kGap, topPicker.y(), cell.width() * 24 + 20,
                     cell.height() * 4);
    // Four lines of the window's font are not always enough for the whole rule: grow the
    // label rather than cut the text off.
    tip->resize(tip->width(), std::max(cell.height() * 4, tip->heightForWidth(tip->width())));
    return tip;
}

int LineEntryPanel::addTimePickers(const DateTime& now, QPoint topLeft, QSize cell) {
    // Each picker is as wide as its longest item plus the drop-down arrow, so that no
    // choice is cut off; the six sit in one row below the caption.
    const QFontMetrics metrics(font());
    const std::array<TimeColumn, 6> columns = timeColumns(now);
    int x = topLeft.x();
    for (std::size_t i = 0; i < columns.size(); ++i) {
        auto* picker = new QComboBox(this);
        picker->addItem(columns[i].first);
        picker->addItems(columns[i].items);
        picker->setCurrentIndex(columns[i].selected);
        picker->setMaxVisibleItems(12);
        int widest = 0;
        for (int item = 0; item < picker->count(); ++item) {
            widest = std::max(widest, metrics.horizontalAdvance(picker->itemText(item)));
        }
        picker->setGeometry(x, topLeft.y(), std::max(widest + 30, picker->sizeHint().width()),
                            cell.height() + 6);
        picker->setObjectName(QStringLiteral("timePicker%1").arg(i));
        m_time[i] = picker;
        x = picker->geometry().right() + 1 + 2;
    }
    return x - 2; // the right edge of the last picker
}

void LineEntryPanel::addButtons(int panelWidth, int top, QSize cell) {
    m_ok = new QPushButton(QStringLiteral("确定"), this);
    m_cancel = new QPushButton(QStringLiteral("取消"), this);
    m_ok->setObjectName(QStringLiteral("okButton"));
    m_cancel->setObjectName(QStringLiteral("cancelButton"));
    m_ok->setGeometry((panelWidth - cell.width() * 10 - kGap) / 2, top + 6, cell.width() * 5,
                      cell.height() * 2);
    m_cancel->setGeometry(m_ok->geometry().right() + 1 + kGap, m_ok->y(), cell.width() * 5,
                          cell.height() * 2);
    m_ok->setDefault(true); // Enter confirms; Escape cancels, as in every dialog
    connect(m_ok, &QPushButton::clicked, this, &LineEntryPanel::accept);
    connect(m_cancel, &QPushButton::clicked, this, &LineEntryPanel::cancelled);
}

QComboBox* LineEntryPanel::linePicker(int line) const {
    return m_lines[static_cast<std::size_t>(line - 1)];
}

QComboBox* LineEntryPanel::timePicker(int index) const {
    return m_time[static_cast<std::size_t>(index)];
}

void LineEntryPanel::accept() {
    HandEntry entry;
    for (int line = 1; line <= 6; ++line) {
        const int index = m_lines[static_cast<std::size_t>(line - 1)]->currentIndex();
        if (index <= 0) {
            MessageBox::inform(this, QStringLiteral("信息:"), QStringLiteral("在第:%1爻没有设定!").arg(line));
            return;
        }
        entry.movingFlags.push_back(index == 3 ? 1 : index == 4 ? -1 : 0);
        (line <= 3 ? entry.lowerLines : entry.upperLines) += index % 2 == 1 ? '1' : '0';
    }
    QString stamp;
    for (int i = 0; i < 6; ++i) {
        QComboBox* picker = m_time[static_cast<std::size_t>(i)];
        if (picker->currentIndex() <= 0) {
            MessageBox::inform(this, QStringLiteral("信息:"),
                               QStringLiteral("时间的%1未设定").arg(kTimeNames[i]));
            return;
        }
        stamp += picker->currentText();
    }
    // The six texts joined read "%d年%d月%d日%d时%d分%d秒".
    static const QRegularExpression form(
        QStringLiteral("^(\\d+)年(\\d+)月(\\d+)日(\\d+)时(\\d+)分(\\d+)秒$"));
    const QRegularExpressionMatch match = form.match(stamp);
    DateTime toss;
    if (match.hasMatch()) {
        toss = DateTime{match.captured(1).toInt(),
                        match.captured(2).toInt(),
                        match.captured(3).toInt(),
                        match.captured(4).toInt(),
                        match.captured(5).toInt(),
                        match.captured(6).toInt(),
                        0};
    }
    entry.moment = isValidDateTime(toss) ? momentFromDateTime(toss) : 0.0;
    emit accepted(entry);
}

} // namespace quenmar::app
