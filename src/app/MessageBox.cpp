#include "app/MessageBox.h"

namespace quenmar::app {

std::optional<bool> MessageBox::s_nextAnswer;
QString MessageBox::s_lastCaption;
QString MessageBox::s_lastText;
int MessageBox::s_count = 0;

std::optional<bool> MessageBox::record(const QString& caption, const QString& text) {
    s_lastCaption = caption;
    s_lastText = text;
    ++s_count;
    const std::optional<bool> answer = s_nextAnswer;
    s_nextAnswer.reset();
    return answer;
}

bool MessageBox::ask(QWidget* parent, const QString& caption, const QString& text) {
    if (const std::optional<bool> answer = record(caption, text)) {
        return *answer;
    }
    return QMessageBox::question(parent, caption, text, QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
}

void MessageBox::inform(QWidget* parent, const QString& caption, const QString& text) {
    if (!record(caption, text)) {
        QMessageBox::information(parent, caption, text, QMessageBox::Ok);
    }
}

void MessageBox::error(QWidget* parent, const QString& caption, const QString& text) {
    if (!record(caption, text)) {
        QMessageBox::critical(parent, caption, text, QMessageBox::Ok);
    }
}

void MessageBox::about(QWidget* parent, const QString& caption, const QString& text) {
    if (!record(caption, text)) {
        QMessageBox::about(parent, caption, text);
    }
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

} // namespace quenmar::app
