#include "PaperBackground.h"

#include "core/theme/PaperGrain.h"
#include "core/theme/ThemeColors.h"

#include <QHash>
#include <QPainter>

#include <cmath>

namespace quillery::ui {

void PaperBackground::paint(QPainter &painter, const QRectF &rect, int colorIndex, ColorScheme scheme)
{
    paint(painter, rect, paperTint(colorIndex, scheme), scheme);
}

void PaperBackground::paint(QPainter &painter, const QRectF &rect, const QColor &tint, ColorScheme scheme)
{
    painter.fillRect(rect, themeColor(ThemeColor::Paper, scheme));
    if (tint.alpha() > 0)
        painter.fillRect(rect, tint);
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    painter.drawTiledPixmap(rect, grainTile(scheme, ratio));
}

void PaperBackground::paintSheet(QPainter &painter, const QRectF &rect, const QColor &tint, ColorScheme scheme)
{
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    const QSize pixels = (rect.size() * ratio).toSize();
    if (pixels.isEmpty())
        return;
    struct Sheet {
        QSize pixels;
        QRgb tint;
        ColorScheme scheme;
        qreal ratio;
        QPixmap pixmap;
    };
    static QList<Sheet> sheets;
    for (qsizetype i = 0; i < sheets.size(); ++i) {
        const Sheet &sheet = sheets.at(i);
        if (sheet.pixels == pixels && sheet.tint == tint.rgba() && sheet.scheme == scheme && sheet.ratio == ratio) {
            painter.drawPixmap(rect.topLeft(), sheet.pixmap);
            if (i > 0)
                sheets.move(i, 0);
            return;
        }
    }
    QPixmap pixmap(pixels);
    pixmap.setDevicePixelRatio(ratio);
    {
        QPainter sheetPainter(&pixmap);
        paint(sheetPainter, QRectF(QPointF(0, 0), rect.size()), tint, scheme);
    }
    painter.drawPixmap(rect.topLeft(), pixmap);
    // A handful: the pages on screen and the colour they are changing to.
    constexpr qsizetype Kept = 6;
    sheets.prepend(Sheet { pixels, tint.rgba(), scheme, ratio, pixmap });
    if (sheets.size() > Kept)
        sheets.removeLast();
}

const QPixmap &PaperBackground::grainTile(ColorScheme scheme, qreal devicePixelRatio)
{
    static QHash<QPair<int, int>, QPixmap> tiles;
    // Ratios are kept to a hundredth: enough to tell every real screen apart.
    const int ratioKey = std::max(1, static_cast<int>(std::lround(devicePixelRatio * 100)));
    const QPair<int, int> key(static_cast<int>(scheme), ratioKey);
    if (const auto found = tiles.constFind(key); found != tiles.constEnd())
        return *found;

    const QImage &image = PaperGrain::image(scheme);
    const qreal ratio = ratioKey / 100.0;
    const int side = static_cast<int>(std::lround(PaperGrain::TileSize / PaperGrain::Scale * ratio));
    QPixmap tile = side == image.width()
        ? QPixmap::fromImage(image)
        : QPixmap::fromImage(image.scaled(side, side, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    tile.setDevicePixelRatio(ratio);
    return *tiles.insert(key, tile);
}

} // namespace quillery::ui
