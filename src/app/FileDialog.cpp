#include "app/FileDialog.h"

#include <QFileDialog>

namespace quenmar::app {

std::optional<QString> FileDialog::s_next;
QString FileDialog::s_lastSuggested;

std::optional<QString> FileDialog::takeNext() {
    std::optional<QString> next = s_next;
    s_next.reset();
    return next;
}

QString FileDialog::openFile(QWidget* parent, const QString& caption, const QString& filter) {
    if (auto next = takeNext()) {
        return *next;
    }
    return QFileDialog::getOpenFileName(parent, caption, QString(), filter);
}

QString FileDialog::saveFile(QWidget* parent, const QString& caption, const QString& suggested,
                             const QString& filter, const QString& defaultSuffix) {
    s_lastSuggested = suggested;
    if (auto next = takeNext()) {
        return *next;
    }
    QFileDialog dialog(parent, caption);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(filter);
    dialog.setDefaultSuffix(defaultSuffix);
    dialog.selectFile(suggested);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst();
}

void FileDialog::setNextFileName(const QString& fileName) {
    s_next = fileName;
}

} // namespace quenmar::app
