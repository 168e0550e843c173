#include "app/DesktopViewer.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>

namespace quenmar::app {

void openInDesktopViewer(const QUrl& file, QObject* context, std::function<void()> failed) {
    const QString launcher = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (launcher.isEmpty()) {
        if (!QDesktopServices::openUrl(file)) {
            failed();
        }
        return;
    }
    // Without a desktop environment xdg-open waits for the viewer it started. The process
    // object therefore belongs to no window: closing the program must not end the viewer.
    auto* viewer = new QProcess;
    viewer->setStandardOutputFile(QProcess::nullDevice());
    viewer->setStandardErrorFile(QProcess::nullDevice());
    QObject::connect(viewer, &QProcess::finished, context,
                     [viewer, failed](int exitCode, QProcess::ExitStatus status) {
                         viewer->deleteLater();
                         if (status != QProcess::NormalExit || exitCode != 0) {
                             failed();
                         }
                     });
    QObject::connect(viewer, &QProcess::errorOccurred, context,
                     [viewer, failed](QProcess::ProcessError error) {
                         if (error == QProcess::FailedToStart) {
                             viewer->deleteLater();
                             failed();
                         }
                     });
    viewer->start(launcher, {file.toString()});
}

} // namespace quenmar::app
