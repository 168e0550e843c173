#pragma once

#include <QMessageBox>
#include <QString>
#include <optional>

class QWidget;

// Every modal question and notice of the program goes through here, so that tests can answer
// it in advance instead of blocking on a dialog.
namespace quenmar::app {

class MessageBox {
public:
    /// A question with Yes and No and the question icon; true for Yes.
    static bool ask(QWidget* parent, const QString& caption, const QString& text);

    /// A notice with only an OK button.
    static void inform(QWidget* parent, const QString& caption, const QString& text);

    /// An error notice (the run-time failure box).
    static void error(QWidget* parent, const QString& caption, const QString& text);

    /// The about box: rich text beside the program's icon, with an OK button.
    static void about(QWidget* parent, const QString& caption, const QString& text);

    /// Test hook: the next box is not shown; `ask` returns `yes`. Cleared once used.
    static void setNextAnswer(bool yes);

    /// Test hook: caption and text of the last box, shown or answered in advance.
    static QString lastCaption();
    static QString lastText();
    static int shownCount();
    static void resetRecord();

private:
    /// Keeps caption and text for the test hooks; the answer given in advance, if any.
    static std::optional<bool> record(const QString& caption, const QString& text);

    static std::optional<bool> s_nextAnswer;
    static QString s_lastCaption;
    static QString s_lastText;
    static int s_count;
};

} // namespace quenmar::app
