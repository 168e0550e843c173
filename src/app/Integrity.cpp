#include "app/Integrity.h"

#include <QCryptographicHash>
#include <QFile>
#include <QTextStream>

namespace quenmar::app {

bool programFilesIntact(const std::filesystem::path& programFolder) {
    QFile manifest(QString::fromStdString((programFolder / kManifestName).string()));
    if (!manifest.exists()) {
        return true;
    }
    if (!manifest.open(QIODevice::ReadOnly | QIODevice::Text)) {
        return false;
    }
    QTextStream lines(&manifest);
    while (!lines.atEnd()) {
        const QString line = lines.readLine();
        if (line.trimmed().isEmpty()) {
            continue;
        }
        const QString expected = line.left(64).toLower();
        const QString relative = line.mid(66);
        if (line.size() < 67 || line.mid(64, 2) != QLatin1String("  ") ||
            relative.startsWith(QLatin1Char('/')) ||
            relative.split(QLatin1Char('/')).contains(QStringLiteral(".."))) {
            return false;
        }
        QFile file(QString::fromStdString((programFolder / relative.toStdString()).string()));
        if (!file.open(QIODevice::ReadOnly)) {
            return false;
        }
        QCryptographicHash hash(QCryptographicHash::Sha256);
        if (!hash.addData(&file) || QString::fromLatin1(hash.result().toHex()) != expected) {
            return false;
        }
    }
    return true;
}

} // namespace quenmar::app
