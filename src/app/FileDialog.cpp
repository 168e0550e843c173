#include "app/FileDialog.h"

#include <QFileDialog>

namespace quenmar::app {

std::optional<QString> FileDialog::s_next;

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
                             const QString& filter) {
    if (auto next = takeNext()) {
        return *next;
    }
    return QFileDialog::getSaveFileName(parent, caption, suggested, filter);
}

void FileDialog::setNextFileName(const QString& fileName) {
    s_next = fileName;
}

} // namespace quenmar::app
