#include "app/UiFont.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QStringList>

namespace quenmar::app {

namespace {

const QString kFace = QStringLiteral("宋体");

} // namespace

void installCjkFallbacks() {
    static bool done = false;
    if (done) {
        return;
    }
    done = true;
    const QStringList candidates{QStringLiteral("SimSun"),           QStringLiteral("NSimSun"),
                                 QStringLiteral("Noto Sans CJK SC"), QStringLiteral("Noto Serif CJK SC"),
                                 QStringLiteral("WenQuanYi Zen Hei"), QStringLiteral("Droid Sans Fallback")};
    const QStringList installed = QFontDatabase::families();
    QStringList present;
    for (const QString& family : candidates) {
        if (installed.contains(family)) {
            present << family;
        }
    }
    QFont::insertSubstitutions(kFace, present);
}

QString uiFontDescription() {
    QString description = QStringLiteral("宋体,13,0,0,0,0,0");
    description.replace(QStringLiteral(",13,"), QStringLiteral(",9,"));
    return description;
}

QFont fontFromDescription(const QString& description) {
    const QStringList parts = description.split(QLatin1Char(','));
    QFont font(parts.value(0, kFace));
    font.setPointSize(parts.value(1).toInt() > 0 ? parts.value(1).toInt() : 9);
    font.setBold(parts.value(2).toInt() != 0);
    font.setItalic(parts.value(3).toInt() != 0);
    font.setUnderline(parts.value(4).toInt() != 0);
    font.setStrikeOut(parts.value(5).toInt() != 0);
    return font;
}

QFont uiFont() {
    installCjkFallbacks();
    return fontFromDescription(uiFontDescription());
}

QSize textExtent(const QFont& font, const QString& text) {
    const QFontMetrics metrics(font);
    // A CJK glyph fills its em square. SimSun's line is exactly one em high, the size every
    // layout of the program was drawn for; the CJK fallbacks add room for Latin accents
    // above and below, which would stretch every layout by almost half. Their line height
    // is therefore capped at the em plus a pixel on each side.
    const int em = QFontInfo(font).pixelSize();
    return QSize(metrics.horizontalAdvance(text), std::min(metrics.height(), em + 2));
}

} // namespace quenmar::app
