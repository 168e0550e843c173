#include "app/Application.h"

#include "app/AppContext.h"
#include "app/Integrity.h"
#include "app/MainWin.h"
#include "app/MessageBox.h"
#include "app/Resources.h"
#include "app/UiFont.h"
#include "engine/Moment.h"
#include "store/TableDb.h"
#include "support/InstanceLock.h"
#include "support/ProgramPaths.h"
#include "update/UpdateCheck.h"

#include <QIcon>
#include <QLibraryInfo>
#include <QTranslator>
#include <cstdlib>
#include <exception>
#include <system_error>

namespace quenmar::app {

namespace {

const QString kCrashCaption = QStringLiteral("运行时异常");
const QString kUnmanagedText = QStringLiteral("程序在运行时抛出了未被管理的异常");

} // namespace

QString runTimeErrorText(int code, const QString& description) {
    return QStringLiteral("俘获到异常,代码值为: %1, 描述为: %2").arg(code).arg(description);
}

void failAtRunTime(const QString& text) {
    MessageBox::error(nullptr, kCrashCaption, text);
    std::_Exit(-1);
}

QuenmarApplication::QuenmarApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool QuenmarApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::system_error& error) {
        failAtRunTime(runTimeErrorText(error.code().value(), QString::fromLocal8Bit(error.what())));
    } catch (const std::exception& error) {
        failAtRunTime(runTimeErrorText(0, QString::fromLocal8Bit(error.what())));
    } catch (...) {
        failAtRunTime(kUnmanagedText);
    }
}

int runApplication(int argc, char** argv) {
    QuenmarApplication application(argc, argv);
    initResources();
    QApplication::setApplicationName(QStringLiteral("Quenmar"));
    // The desktop entry's id, by which Wayland desktops give the window its menu entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.quenmar.Quenmar"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/quenmar.svg")));
    installCjkFallbacks();
    QTranslator qtTexts;
    // Message-box buttons in Chinese (是/否), as the rest of the program speaks.
    if (qtTexts.load(QStringLiteral("qtbase_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(&qtTexts);
    }

    const auto programFolder = support::programFolder();
    const auto dataRoot = support::dataRoot();
    if (!programFolder || !dataRoot) {
        return 1;
    }
    const std::filesystem::path config = support::configPath(*dataRoot);

    // A left-over installer of an earlier update; only an installer's own name is acted on.
    update::removeLeftoverInstaller(config, *dataRoot);

    if (!programFilesIntact(*programFolder)) {
        return 1;
    }

    const auto lockPath = support::lockFilePath();
    auto lock = lockPath ? support::InstanceLock::acquire(*lockPath) : std::nullopt;
    if (!lock) {
        return 0; // another instance runs: leave without a window
    }

    store::TableDb db(*dataRoot);
    AppContext context;
    context.programFolder = *programFolder;
    context.dataRoot = *dataRoot;
    context.configFile = config;
    context.db = &db;
    context.clock = systemClock;

    int exitCode = 0;
    {
        MainWin window(context, draws::defaultRefreshServices());
        window.setUpdateCheck([&window, &context] {
            const auto today = dateTimeFromMoment(context.clock().moment);
            const auto settings = today ? update::programUpdateCheckSettings(*today) : std::nullopt;
            if (settings) {
                window.checkForUpdates(*settings);
            }
        });
        window.start();
        exitCode = QApplication::exec();
    }
    db.close();
    lock->release();
    return exitCode;
}

} // namespace quenmar::app
