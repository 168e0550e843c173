// Quenmar, the desktop program.
#include "app/Application.h"

#include <exception>
#include <system_error>

int main(int argc, char** argv) {
    try {
        return quenmar::app::runApplication(argc, argv);
    } catch (const std::system_error& error) {
        quenmar::app::failAtRunTime(
            quenmar::app::runTimeErrorText(error.code().value(), QString::fromLocal8Bit(error.what())));
    } catch (const std::exception& error) {
        quenmar::app::failAtRunTime(quenmar::app::runTimeErrorText(0, QString::fromLocal8Bit(error.what())));
    } catch (...) {
        quenmar::app::failAtRunTime(QStringLiteral("程序在运行时抛出了未被管理的异常"));
    }
}
