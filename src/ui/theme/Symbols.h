#pragma once

#include <QColor>
#include <QIcon>
#include <QPixmap>
#include <QString>

namespace quillery::ui {

// System symbols: the symbolic icons of the user's icon theme, found through
// Qt's theme lookup (Adwaita where the theme lacks one, or no theme is set)
// and tinted with the colour the caller asks for. Symbols are named the way
// the rest of the program names them ("chevron.left", "square.grid.2x2");
// each maps to a freedesktop icon name.
class Symbols final
{
public:
    // Makes Adwaita the fallback of Qt's icon lookup, and the theme itself
    // where the desktop names none (the offscreen platform).
    static void installIconTheme();

    // The freedesktop icon name for a symbol name, or the name itself when it
    // is already a freedesktop name.
    static QString iconName(const QString &symbol);

    // Whether the theme (or the fallback) has the symbol.
    static bool exists(const QString &symbol);

    // The symbol drawn `size` device-independent pixels square in `color`,
    // at the given device pixel ratio. A missing symbol gives a null pixmap.
    static QPixmap pixmap(const QString &symbol, int size, const QColor &color, qreal devicePixelRatio = 1.0);

    // An icon of the symbol in `color`, for buttons, menus and toolbars.
    static QIcon icon(const QString &symbol, const QColor &color);
};

} // namespace quillery::ui
