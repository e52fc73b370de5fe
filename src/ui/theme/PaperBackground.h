#pragma once

#include "core/theme/ColorScheme.h"

#include <QColor>
#include <QPixmap>
#include <QRectF>

class QPainter;

namespace quillery::ui {

// Paints a page's paper: the paper colour of the scheme, the page's tint
// (its palette colour, faint; none for Slate) and the grain tiled over it,
// anchored at the page's corner so the grain travels with the page.
class PaperBackground final
{
public:
    static void paint(QPainter &painter, const QRectF &rect, int colorIndex, ColorScheme scheme);
    // With an explicit tint (a colour change in progress blends two tints).
    static void paint(QPainter &painter, const QRectF &rect, const QColor &tint, ColorScheme scheme);

    // The same, from a sheet kept in the application's pixmap cache: a page
    // repainting itself costs one copy instead of a tiling of the grain.
    static void paintSheet(QPainter &painter, const QRectF &rect, const QColor &tint, ColorScheme scheme);

    // The grain tile ready to be drawn at `devicePixelRatio`: one tile covers
    // 160 × 160 points whatever the screen. Made once per scheme and ratio
    // while the pixmap cache keeps it.
    static QPixmap grainTile(ColorScheme scheme, qreal devicePixelRatio);
};

} // namespace quillery::ui
