#include "PaperBackground.h"

#include "gui/theme/PaperGrain.h"
#include "gui/theme/ThemeColors.h"

#include <QPainter>
#include <QPixmapCache>

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
    const QString key = QStringLiteral("quillery-sheet|%1x%2|%3|%4|%5")
                            .arg(pixels.width())
                            .arg(pixels.height())
                            .arg(tint.rgba(), 0, 16)
                            .arg(static_cast<int>(scheme))
                            .arg(ratio);
    QPixmap pixmap;
    if (QPixmapCache::find(key, &pixmap)) {
        painter.drawPixmap(rect.topLeft(), pixmap);
        return;
    }
    pixmap = QPixmap(pixels);
    pixmap.setDevicePixelRatio(ratio);
    {
        QPainter sheetPainter(&pixmap);
        paint(sheetPainter, QRectF(QPointF(0, 0), rect.size()), tint, scheme);
    }
    painter.drawPixmap(rect.topLeft(), pixmap);
    QPixmapCache::insert(key, pixmap);
}

QPixmap PaperBackground::grainTile(ColorScheme scheme, qreal devicePixelRatio)
{
    // Ratios are kept to a hundredth: enough to tell every real screen apart.
    const int ratioKey = std::max(1, static_cast<int>(std::lround(devicePixelRatio * 100)));
    const QString key = QStringLiteral("quillery-grain|%1|%2").arg(static_cast<int>(scheme)).arg(ratioKey);
    QPixmap tile;
    if (QPixmapCache::find(key, &tile))
        return tile;

    const QImage &image = PaperGrain::image(scheme);
    const qreal ratio = ratioKey / 100.0;
    const int side = static_cast<int>(std::lround(PaperGrain::TileSize / PaperGrain::Scale * ratio));
    tile = side == image.width()
        ? QPixmap::fromImage(image)
        : QPixmap::fromImage(image.scaled(side, side, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    tile.setDevicePixelRatio(ratio);
    QPixmapCache::insert(key, tile);
    return tile;
}

} // namespace quillery::ui
