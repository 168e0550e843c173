#pragma once

#include "engine/CastRequest.h"

#include <QString>
#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace quenmar::app {

class ChoicePicker;

/// The strip in which the user states a calculation: casting method, the querent's zodiac
/// animal and what the method needs (a number, lines tossed by hand, or the time choice of
/// the millisecond method). It keeps the current request, validates it on "演算" and hands it
/// upward; it never calls a sibling panel.
class InputPanel : public QWidget {
    Q_OBJECT

public:
    explicit InputPanel(QWidget* parent = nullptr);

    /// The notice below the row: a game, for entertainment only.
    static QString disclaimerText();

    const CastRequest& request() const { return m_request; }

    /// The line-entry window's result: lines, flags and the toss time.
    void setHandLines(const std::string& upperLines, const std::string& lowerLines,
                      const std::vector<int>& movingFlags, double moment);

    /// Fills the inputs from a saved calculation and clicks "演算".
    void restoreFromRecord(int recordId, CastMethod method, int zodiac, double moment,
                           const std::string& numberText, const std::string& upperLines,
                           const std::string& lowerLines, TimeChoice timeChoice,
                           const std::vector<int>& movingFlags);

    ChoicePicker* methodPicker() const { return m_methodPicker; }
    ChoicePicker* zodiacPicker() const { return m_zodiacPicker; }
    QPushButton* computeButton() const { return m_compute; }
    QPushButton* resetButton() const { return m_reset; }
    /// The method control of the moment; null when none exists.
    QLineEdit* numberBox() const { return m_numberBox; }
    QPushButton* handButton() const { return m_handButton; }
    /// A radio button of the time choice by its position, 1 or 2 (= the TimeChoice it sets).
    QRadioButton* timeButton(int position) const;

signals:
    void resultsReset();
    void openLineEntry();
    /// The compute button's outcome (see checkCast): its code and message, and the request, or
    /// an empty invalid one when the request was refused.
    void validated(int code, const QString& message, const quenmar::CastRequest& request);

public slots:
    void validate();
    void reset();

private:
    enum class Control { None, Number, Hand, Time };

    void onMethodChanged(int index, const QString& text);
    void onZodiacChanged(int index);
    void setMethodControl(Control kind);
    void buildNumberBox();
    void buildHandButton();
    void buildTimeGroup();
    void relayout();

    CastRequest m_request;
    QString m_methodText;
    Control m_control = Control::None;
    ChoicePicker* m_methodPicker = nullptr;
    ChoicePicker* m_zodiacPicker = nullptr;
    QLineEdit* m_numberBox = nullptr;
    QPushButton* m_handButton = nullptr;
    QWidget* m_timeGroup = nullptr;
    QRadioButton* m_currentTime = nullptr;
    QRadioButton* m_drawTime = nullptr;
    QPushButton* m_compute = nullptr;
    QPushButton* m_reset = nullptr;
    QLabel* m_disclaimer = nullptr;
};

} // namespace quenmar::app
