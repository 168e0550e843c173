#pragma once

#include <QApplication>

namespace quenmar::app {

/// The application object. An exception that escapes an event handler ends the program with
/// the run-time error box and exit code −1, instead of leaving Qt's event loop in an unknown
/// state.
class QuenmarApplication : public QApplication {
    Q_OBJECT

public:
    QuenmarApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

/// Reports an unexpected failure with the run-time error box and ends the process with −1.
[[noreturn]] void failAtRunTime(const QString& text);

/// The message of the run-time error box for an error with a code and a description.
QString runTimeErrorText(int code, const QString& description);

/// The start-up sequence and the message loop; returns the exit code.
int runApplication(int argc, char** argv);

} // namespace quenmar::app
