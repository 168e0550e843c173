#pragma once

#include <QString>
#include <optional>

class QWidget;

// The program's file pickers, with a test hook like MessageBox's: a test names the file the
// next picker "chooses", so that nothing blocks on a dialog.
namespace quenmar::app {

class FileDialog {
public:
    /// A file to read; empty when the user cancels.
    static QString openFile(QWidget* parent, const QString& caption, const QString& filter);
    /// A file to write; empty when the user cancels.
    static QString saveFile(QWidget* parent, const QString& caption, const QString& suggested,
                            const QString& filter);

    /// Test hook: the next picker is not shown and gives `fileName` (empty: cancelled).
    static void setNextFileName(const QString& fileName);

private:
    static std::optional<QString> takeNext();

    static std::optional<QString> s_next;
};

} // namespace quenmar::app
