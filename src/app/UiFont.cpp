#include "app/UiFont.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QStringList>

namespace quenmar::app {

namespace {

const QString kFace = QStringLiteral("宋体");
constexpr int kPointSize = 9;

} // namespace

void installCjkFallbacks() {
    static bool done = false;
    if (done) {
        return;
    }
    done = true;
    const QStringList candidates{QStringLiteral("SimSun"),
                                 QStringLiteral("NSimSun"),
                                 QStringLiteral("Noto Sans CJK SC"),
                                 QStringLiteral("Noto Serif CJK SC"),
                                 QStringLiteral("WenQuanYi Zen Hei"),
                                 QStringLiteral("Droid Sans Fallback")};
    const QStringList installed = QFontDatabase::families();
    QStringList present;
    for (const QString& family : candidates) {
        if (installed.contains(family)) {
            present << family;
        }
    }
    QFont::insertSubstitutions(kFace, present);
}

QFont uiFont() {
    installCjkFallbacks();
    QFont font(kFace);
    font.setPointSize(kPointSize);
    // Set rather than left to the defaults, so that no style is inherited from elsewhere.
    font.setBold(false);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    return font;
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
