#pragma once

#include <QObject>
#include <QUrl>
#include <functional>

namespace quenmar::app {

/// Opens a file with the desktop's viewer for it and calls `failed` (on `context`'s thread,
/// while `context` lives) when no viewer took it. On a freedesktop.org desktop this asks
/// xdg-open and reads its exit status: Qt's own call there reports success as soon as
/// xdg-open has started, even when it then finds no viewer. Elsewhere Qt's call answers.
void openInDesktopViewer(const QUrl& file, QObject* context, std::function<void()> failed);

} // namespace quenmar::app
