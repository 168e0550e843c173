#include "app/panels/InputPanel.h"

#include "app/UiFont.h"
#include "app/panels/ChoicePicker.h"
#include "engine/CastRule.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>

namespace quenmar::app {

namespace {

const QStringList kMethods{QStringLiteral("选择起卦方式"), QStringLiteral("数字起卦"),
                           QStringLiteral("自己装卦"), QStringLiteral("超时空起卦")};
const QStringList kZodiacs{QStringLiteral("选择生肖"), QStringLiteral("子鼠"), QStringLiteral("丑牛"),
                           QStringLiteral("寅虎"),     QStringLiteral("卯兔"), QStringLiteral("辰龙"),
                           QStringLiteral("巳蛇"),     QStringLiteral("午马"), QStringLiteral("未羊"),
                           QStringLiteral("申猴"),     QStringLiteral("酉鸡"), QStringLiteral("戌狗"),
                           QStringLiteral("亥猪")};
const QString kDisclaimer =
    QStringLiteral("————传统文化创新,仅为游戏娱乐,结果数据仅供参考,彩市有风险,切勿着迷————");

constexpr int kGap = 10;
constexpr int kNumberBoxWidth = 56;
constexpr int kHandButtonWidth = 140;

} // namespace

QString InputPanel::disclaimerText() {
    return kDisclaimer;
}

InputPanel::InputPanel(QWidget* parent) : QWidget(parent) {
    m_methodPicker = new ChoicePicker(QStringLiteral("起卦方式:"), kMethods, this);
    m_zodiacPicker = new ChoicePicker(QStringLiteral("卦主生肖:"), kZodiacs, this);
    m_compute = new QPushButton(QStringLiteral("演算"), this);
    m_reset = new QPushButton(QStringLiteral("重设"), this);
    m_disclaimer = new QLabel(kDisclaimer, this);
    m_disclaimer->setObjectName(QStringLiteral("disclaimer"));
    m_disclaimer->setStyleSheet(QStringLiteral("color: rgb(192, 192, 192);"));
    m_methodPicker->setObjectName(QStringLiteral("methodPicker"));
    m_zodiacPicker->setObjectName(QStringLiteral("zodiacPicker"));
    m_compute->setObjectName(QStringLiteral("computeButton"));
    m_reset->setObjectName(QStringLiteral("resetButton"));
    m_compute->setToolTip(QStringLiteral("按所选的起卦方式与卦主生肖演算 (在数字框中按 Enter 亦可)"));
    m_reset->setToolTip(QStringLiteral("清空起卦条件、卦解与演算结果"));

    connect(m_methodPicker, &ChoicePicker::changed, this, &InputPanel::onMethodChanged);
    connect(m_zodiacPicker, &ChoicePicker::changed, this,
            [this](int index, const QString&) { onZodiacChanged(index); });
    connect(m_compute, &QPushButton::clicked, this, &InputPanel::validate);
    connect(m_reset, &QPushButton::clicked, this, &InputPanel::reset);
    relayout();
}

QRadioButton* InputPanel::timeButton(int position) const {
    switch (static_cast<TimeChoice>(position)) {
    case TimeChoice::Current:
        return m_currentTime;
    case TimeChoice::Draw:
        return m_drawTime;
    default:
        return nullptr;
    }
}

void InputPanel::onMethodChanged(int index, const QString& text) {
    emit resultsReset();
    m_request.method = static_cast<CastMethod>(index); // the picker lists the methods in their order
    m_methodText = text;
    switch (m_request.method) {
    case CastMethod::ByNumber:
        setMethodControl(Control::Number);
        break;
    case CastMethod::ByHand:
        setMethodControl(Control::Hand);
        break;
    case CastMethod::ByMilliseconds:
        setMethodControl(Control::Time);
        break;
    default:
        // The prompt entry leaves the current method control in place.
        break;
    }
    relayout();
}

void InputPanel::onZodiacChanged(int index) {
    emit resultsReset();
    m_request.zodiac = index;
}

void InputPanel::setMethodControl(Control kind) {
    if (m_control == kind) {
        if (kind == Control::Number) {
            m_numberBox->setFocus();
        }
        return;
    }
    delete m_numberBox;
    delete m_handButton;
    delete m_timeGroup;
    m_numberBox = nullptr;
    m_handButton = nullptr;
    m_timeGroup = nullptr;
    m_currentTime = nullptr;
    m_drawTime = nullptr;
    m_control = kind;

    switch (kind) {
    case Control::Number:
        buildNumberBox();
        break;
    case Control::Hand:
        buildHandButton();
        break;
    case Control::Time:
        buildTimeGroup();
        break;
    case Control::None:
        break;
    }
    // A new control would join the end of the window's tab chain: put it where it is seen,
    // between the two pickers.
    QWidget* previous = m_methodPicker->list();
    for (QWidget* stop : {static_cast<QWidget*>(m_numberBox), static_cast<QWidget*>(m_handButton),
                          static_cast<QWidget*>(m_currentTime), static_cast<QWidget*>(m_drawTime)}) {
        if (stop != nullptr) {
            setTabOrder(previous, stop);
            previous = stop;
        }
    }
}

void InputPanel::buildNumberBox() {
    const int height = m_zodiacPicker->height();
    m_numberBox = new QLineEdit(this);
    m_numberBox->setObjectName(QStringLiteral("numberBox"));
    m_numberBox->setInputMethodHints(Qt::ImhDigitsOnly);
    // Only ASCII digits can be typed: the number rules count no other character.
    m_numberBox->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), m_numberBox));
    m_numberBox->resize(kNumberBoxWidth, height);
    connect(m_numberBox, &QLineEdit::textChanged, this,
            [this](const QString& text) { m_request.numberText = text.trimmed().toStdString(); });
    connect(m_numberBox, &QLineEdit::returnPressed, m_compute, &QPushButton::click);
    m_numberBox->show();
    m_numberBox->setFocus();
}

void InputPanel::buildHandButton() {
    const int height = m_zodiacPicker->height();
    m_handButton = new QPushButton(QStringLiteral("点击自己装卦"), this);
    m_handButton->setObjectName(QStringLiteral("handButton"));
    m_handButton->resize(kHandButtonWidth, height);
    connect(m_handButton, &QPushButton::clicked, this, [this] {
        m_request.recordId = 0;
        emit resultsReset();
        emit openLineEntry();
    });
    m_handButton->show();
}

void InputPanel::buildTimeGroup() {
    m_timeGroup = new QWidget(this);
    m_timeGroup->setObjectName(QStringLiteral("timeModeGroup"));
    const QSize cell = textExtent(font(), QStringLiteral("框"));
    const auto makeButton = [&](const QString& caption, int x) {
        auto* button = new QRadioButton(caption, m_timeGroup);
        button->setGeometry(x, 0, static_cast<int>(caption.size() + 2) * cell.width(), cell.height() + 5);
        return button;
    };
    m_currentTime = makeButton(QStringLiteral("当前时间"), 0);
    m_drawTime = makeButton(QStringLiteral("开奖时间"), m_currentTime->width() + kGap);
    m_currentTime->setObjectName(QStringLiteral("currentTimeButton"));
    m_drawTime->setObjectName(QStringLiteral("drawTimeButton"));
    m_drawTime->setChecked(true);
    // The two are one Tab stop, reached at the checked one; the arrow keys choose between
    // them. Qt takes the other button out of the chain once one had the focus: here it is
    // so from the start.
    m_currentTime->setFocusPolicy(Qt::ClickFocus);
    m_request.timeChoice = TimeChoice::Draw;
    connect(m_currentTime, &QRadioButton::clicked, this,
            [this] { m_request.timeChoice = TimeChoice::Current; });
    connect(m_drawTime, &QRadioButton::clicked, this, [this] { m_request.timeChoice = TimeChoice::Draw; });
    m_timeGroup->resize(m_drawTime->geometry().right() + 1, cell.height() + 5);
    m_timeGroup->show();
}

void InputPanel::relayout() {
    const int rowHeight = m_zodiacPicker->height();
    int x = 0;
    m_methodPicker->move(x, 0);
    x = m_methodPicker->geometry().right() + 1;
    QWidget* control = m_numberBox != nullptr    ? static_cast<QWidget*>(m_numberBox)
                       : m_handButton != nullptr ? static_cast<QWidget*>(m_handButton)
                                                 : m_timeGroup;
    if (control != nullptr) {
        control->move(x + kGap, (rowHeight - control->height()) / 2);
        x = control->geometry().right() + 1;
    }
    m_zodiacPicker->move(x + kGap, 0);
    x = m_zodiacPicker->geometry().right() + 1;

    const int cellWidth = textExtent(font(), QStringLiteral("框")).width();
    m_compute->setGeometry(x + kGap, 0, 2 * 2 * cellWidth, rowHeight);
    m_reset->setGeometry(m_compute->geometry().right() + 1 + kGap, 0, 2 * 2 * cellWidth, rowHeight);
    const int rowRight = m_reset->geometry().right() + 1;
    m_disclaimer->setGeometry(0, m_compute->geometry().bottom() + 1 + kGap, rowRight + kGap, rowHeight);
    resize(rowRight + kGap, m_disclaimer->geometry().bottom() + 1 + kGap);
}

void InputPanel::validate() {
    const CastVerdict verdict = checkCast(m_request);
    if (verdict.code == 0) {
        return; // a method beyond the three, read from a record: the button does nothing
    }
    if (verdict.refusal == CastRefusal::NoNumber && m_numberBox != nullptr) {
        m_numberBox->setFocus();
    }
    const QString message =
        QString::fromUtf8(verdict.message.data(), static_cast<qsizetype>(verdict.message.size()));
    if (verdict.castable()) {
        emit validated(verdict.code, message, m_request);
    } else {
        CastRequest refused;
        refused.invalid = true;
        emit validated(verdict.code, message, refused);
    }
}

void InputPanel::reset() {
    emit resultsReset();
    m_methodPicker->select(0);
    m_zodiacPicker->select(0);
    m_methodText.clear();
    m_request.numberText.clear();
    m_request.upperLines.clear();
    m_request.lowerLines.clear();
    // The number box stays on the panel; it is emptied with the request so that what it
    // shows is what the next "演算" computes.
    if (m_numberBox != nullptr) {
        m_numberBox->clear();
    }
    m_request.method = CastMethod::Cleared;
    m_request.zodiac = -1;
}

void InputPanel::setHandLines(const std::string& upperLines, const std::string& lowerLines,
                              const std::vector<int>& movingFlags, double moment) {
    m_request.upperLines = upperLines;
    m_request.lowerLines = lowerLines;
    m_request.movingFlags = movingFlags;
    m_request.moment = moment;
}

void InputPanel::restoreFromRecord(int recordId, CastMethod method, int zodiac, double moment,
                                   const std::string& numberText, const std::string& upperLines,
                                   const std::string& lowerLines, TimeChoice timeChoice,
                                   const std::vector<int>& movingFlags) {
    m_request.recordId = recordId;
    m_request.method = method;
    const int methodIndex = static_cast<int>(method);
    m_methodPicker->select(methodIndex >= 0 && methodIndex < kMethods.size() ? methodIndex : 0);
    m_request.method = method;
    m_request.zodiac = zodiac;
    m_zodiacPicker->select(zodiac >= 0 && zodiac < kZodiacs.size() ? zodiac : 0);
    m_request.zodiac = zodiac;
    m_request.moment = moment;
    m_request.numberText = numberText;
    m_request.upperLines = upperLines;
    m_request.lowerLines = lowerLines;
    m_request.timeChoice = timeChoice;
    m_request.movingFlags = movingFlags;
    if (method == CastMethod::ByNumber && m_numberBox != nullptr) {
        m_numberBox->setText(QString::fromStdString(numberText));
    } else if (method == CastMethod::ByMilliseconds) {
        if (QRadioButton* button = timeButton(static_cast<int>(timeChoice))) {
            button->click();
        }
    }
    m_compute->click();
}

} // namespace quenmar::app
