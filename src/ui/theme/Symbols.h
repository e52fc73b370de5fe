#pragma once

#include <QColor>
#include <QIcon>
#include <QPixmap>
#include <QString>

namespace quillery::ui {

// System symbols, drawn from the Adwaita icon theme's scalable symbolic
// icons and tinted with the colour the caller asks for. Symbols are named the
// way the rest of the program names them ("chevron.left", "square.grid.2x2");
// each maps to a freedesktop icon name. The SVG files are read directly, so
// symbols never go missing on platforms without an icon theme (offscreen).
class Symbols final
{
public:
    // Points Qt's own icon lookup at the Adwaita theme too (needed on the
    // offscreen platform, where no theme is configured).
    static void installIconTheme();

    // The freedesktop icon name for a symbol name, or the name itself when it
    // is already a freedesktop name.
    static QString iconName(const QString &symbol);

    // The icon's SVG file, or an empty string when the theme lacks it.
    static QString filePath(const QString &symbol);

    // The symbol drawn `size` device-independent pixels square in `color`,
    // at the given device pixel ratio. A missing symbol gives a null pixmap.
    static QPixmap pixmap(const QString &symbol, int size, const QColor &color, qreal devicePixelRatio = 1.0);

    // An icon of the symbol in `color`, for buttons, menus and toolbars.
    static QIcon icon(const QString &symbol, const QColor &color);
};

} // namespace quillery::ui
