#include "SoftShadow.h"

#include <QImage>
#include <QPaintDevice>
#include <QPainter>
#include <QPixmapCache>

#include <cmath>
#include <vector>

namespace quillery::ui {

namespace {

// One pass of a box blur over the alpha bytes, along rows or columns.
void boxBlur(QImage &image, int radius, bool horizontal)
{
    if (radius < 1)
        return;
    const int width = image.width();
    const int height = image.height();
    const int lines = horizontal ? height : width;
    const int length = horizontal ? width : height;
    const int window = 2 * radius + 1;
    std::vector<int> source(length);
    for (int line = 0; line < lines; ++line) {
        const auto at
            = [&](int i) -> uchar & { return horizontal ? image.scanLine(line)[i] : image.scanLine(i)[line]; };
        for (int i = 0; i < length; ++i)
            source[i] = at(i);
        int sum = 0;
        for (int i = -radius; i <= radius; ++i)
            sum += (i >= 0 && i < length) ? source[i] : 0;
        for (int i = 0; i < length; ++i) {
            at(i) = static_cast<uchar>(sum / window);
            const int leaving = i - radius;
            const int entering = i + radius + 1;
            sum -= (leaving >= 0) ? source[leaving] : 0;
            sum += (entering < length) ? source[entering] : 0;
        }
    }
}

} // namespace

void SoftShadow::paint(
    QPainter &painter, const QPainterPath &shape, const QColor &color, double radius, const QPointF &offset)
{
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    const QRectF bounds = shape.boundingRect();
    const double margin = reach(radius);
    const QSize pixels(static_cast<int>(std::ceil((bounds.width() + 2 * margin) * ratio)),
        static_cast<int>(std::ceil((bounds.height() + 2 * margin) * ratio)));
    if (pixels.isEmpty())
        return;

    // Kept in the application's pixmap cache, which evicts by size.
    const QString key = QStringLiteral("quillery-shadow|%1x%2|%3|%4|%5|%6")
                            .arg(bounds.width())
                            .arg(bounds.height())
                            .arg(radius)
                            .arg(ratio)
                            .arg(color.rgba(), 0, 16)
                            .arg(shape.elementCount());
    QPixmap shadow;
    if (!QPixmapCache::find(key, &shadow)) {
        QImage alpha(pixels, QImage::Format_Alpha8);
        alpha.fill(0);
        {
            QPainter shapePainter(&alpha);
            shapePainter.setRenderHint(QPainter::Antialiasing);
            shapePainter.scale(ratio, ratio);
            shapePainter.translate(margin - bounds.left(), margin - bounds.top());
            shapePainter.fillPath(shape, Qt::black);
        }
        // Three box passes each way come close to a Gaussian.
        const int box = std::max(1, static_cast<int>(std::lround(radius / 2.0 * ratio)));
        for (int pass = 0; pass < 3; ++pass) {
            boxBlur(alpha, box, true);
            boxBlur(alpha, box, false);
        }
        QImage tinted(pixels, QImage::Format_ARGB32_Premultiplied);
        tinted.fill(Qt::transparent);
        QPainter tint(&tinted);
        tint.drawImage(0, 0, alpha);
        tint.setCompositionMode(QPainter::CompositionMode_SourceIn);
        tint.fillRect(tinted.rect(), color);
        tint.end();
        shadow = QPixmap::fromImage(std::move(tinted));
        shadow.setDevicePixelRatio(ratio);
        QPixmapCache::insert(key, shadow);
    }
    painter.drawPixmap(bounds.topLeft() - QPointF(margin, margin) + offset, shadow);
}

} // namespace quillery::ui
