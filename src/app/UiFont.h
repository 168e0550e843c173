#pragma once

#include <QFont>
#include <QSize>
#include <QString>

// The user-interface font: "宋体" (SimSun) at 9 points, the face every panel measures its
// layout with. Where SimSun is not installed the face falls back to a CJK font of the system
// (Noto Sans CJK SC first), chosen explicitly: left to itself Qt may pick a Japanese face for
// Chinese text under a neutral locale.
namespace quenmar::app {

/// The UI font: "宋体" at 9 points, not bold, not italic, not underlined, not struck out. The
/// main window takes it as its own font and hands it to every panel.
QFont uiFont();

/// Registers the CJK fallbacks for "宋体" once per process.
void installCjkFallbacks();

/// Width and height of a text in a font, as the layouts measure one character: the advance
/// width, and the line height (capped for fonts whose line is much taller than their em).
QSize textExtent(const QFont& font, const QString& text);

} // namespace quenmar::app
