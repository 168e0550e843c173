#include "app/MessageBox.h"

namespace quenmar::app {

std::optional<bool> MessageBox::s_nextAnswer;
bool MessageBox::s_autoAnswerAll = false;
QString MessageBox::s_lastCaption;
QString MessageBox::s_lastText;
int MessageBox::s_count = 0;

namespace {
bool g_autoYes = false;
}

bool MessageBox::ask(QWidget* parent, const QString& caption, const QString& text) {
    s_lastCaption = caption;
    s_lastText = text;
    ++s_count;
    if (s_nextAnswer) {
        const bool yes = *s_nextAnswer;
        s_nextAnswer.reset();
        return yes;
    }
    if (s_autoAnswerAll) {
        return g_autoYes;
    }
    return QMessageBox::question(parent, caption, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No) ==
           QMessageBox::Yes;
}

void MessageBox::inform(QWidget* parent, const QString& caption, const QString& text) {
    s_lastCaption = caption;
    s_lastText = text;
    ++s_count;
    if (s_nextAnswer) {
        s_nextAnswer.reset();
        return;
    }
    if (s_autoAnswerAll) {
        return;
    }
    QMessageBox::information(parent, caption, text, QMessageBox::Ok);
}

void MessageBox::error(QWidget* parent, const QString& caption, const QString& text) {
    s_lastCaption = caption;
    s_lastText = text;
    ++s_count;
    if (s_nextAnswer || s_autoAnswerAll) {
        s_nextAnswer.reset();
        return;
    }
    QMessageBox::critical(parent, caption, text, QMessageBox::Ok);
}

void MessageBox::setNextAnswer(bool yes) {
    s_nextAnswer = yes;
}

QString MessageBox::lastCaption() {
    return s_lastCaption;
}

QString MessageBox::lastText() {
    return s_lastText;
}

int MessageBox::shownCount() {
    return s_count;
}

void MessageBox::resetRecord() {
    s_lastCaption.clear();
    s_lastText.clear();
    s_count = 0;
    s_nextAnswer.reset();
}

MessageBoxAutoAnswer::MessageBoxAutoAnswer(bool yes) {
    MessageBox::s_autoAnswerAll = true;
    g_autoYes = yes;
}

MessageBoxAutoAnswer::~MessageBoxAutoAnswer() {
    MessageBox::s_autoAnswerAll = false;
}

} // namespace quenmar::app
