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
    /// A file to write, offered as `suggested`; a name typed without a suffix gets
    /// `defaultSuffix` when one is given. Empty when the user cancels.
    static QString saveFile(QWidget* parent, const QString& caption, const QString& suggested,
                            const QString& filter, const QString& defaultSuffix = {});

    /// Test hook: the next picker is not shown and gives `fileName` (empty: cancelled).
    static void setNextFileName(const QString& fileName);
    /// Test hook: the file the last save picker offered.
    static QString lastSuggested() { return s_lastSuggested; }

private:
    static std::optional<QString> takeNext();

    static std::optional<QString> s_next;
    static QString s_lastSuggested;
};

} // namespace quenmar::app
