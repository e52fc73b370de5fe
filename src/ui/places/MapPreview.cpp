#include "MapPreview.h"

#include "PlacesStyle.h"
#include "core/places/PlaceRules.h"
#include "gui/places/MapTileSource.h"

#include <QDesktopServices>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace quillery::ui {

MapPreview::MapPreview(MapTileSource *tiles, QWidget *parent)
    : QWidget(parent)
    , m_tiles(tiles)
{
    setObjectName(QStringLiteral("mapPreview"));
    setFixedHeight(PreviewHeight);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setFocusPolicy(Qt::TabFocus);
    setCursor(Qt::PointingHandCursor);
    if (m_tiles)
        connect(m_tiles, &MapTileSource::tileReady, this, &MapPreview::takeTile);
}

void MapPreview::setPlace(const std::optional<Place> &place)
{
    if (place == m_place)
        return;
    m_place = place;
    m_images.clear();
    setAccessibleName(place ? tr("Map of %1").arg(place->name) : QString());
    setToolTip(place ? tr("Open in Maps") : QString());
    refreshTiles();
    update();
}

std::optional<QUrl> MapPreview::mapsLink() const
{
    // A place without a usable coordinate has no meaningful link.
    if (!m_place || !PlaceRules::isValidCoordinate(m_place->latitude, m_place->longitude))
        return std::nullopt;
    return m_place->mapsURL();
}

bool MapPreview::openMapsLink()
{
    const std::optional<QUrl> url = mapsLink();
    if (!url)
        return false;
    if (!QDesktopServices::openUrl(*url))
        return false;
    Q_EMIT mapsLinkOpened(*url);
    return true;
}

bool MapPreview::showsTiles() const
{
    for (const MapViewport::Placement &placement : m_placements) {
        if (m_images.contains(placement.tile))
            return true;
    }
    return false;
}

void MapPreview::refreshTiles()
{
    m_viewport.reset();
    m_placements.clear();
    if (m_place && width() > 0 && height() > 0) {
        const int maxZoom = m_tiles ? m_tiles->maxZoom() : 19;
        m_viewport = MapViewport::fit(
            m_place->latitude, m_place->longitude, SpanMeters, QSizeF(size()), devicePixelRatioF(), maxZoom);
    }
    if (m_viewport)
        m_placements = m_viewport->placements();
    // Keep only the images still on screen.
    QHash<MapTile, QImage> kept;
    for (const MapViewport::Placement &placement : std::as_const(m_placements)) {
        if (const auto found = m_images.constFind(placement.tile); found != m_images.constEnd())
            kept.insert(placement.tile, *found);
    }
    m_images = std::move(kept);
    if (!m_tiles || !isVisible())
        return;
    for (const MapViewport::Placement &placement : std::as_const(m_placements)) {
        if (!m_images.contains(placement.tile))
            m_tiles->requestTile(placement.tile);
    }
}

void MapPreview::takeTile(const MapTile &tile, const QImage &image)
{
    const bool wanted = std::any_of(m_placements.cbegin(), m_placements.cend(),
        [&tile](const MapViewport::Placement &placement) { return placement.tile == tile; });
    if (!wanted || image.isNull())
        return;
    m_images.insert(tile, image);
    update();
}

void MapPreview::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    refreshTiles();
}

void MapPreview::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    refreshTiles();
}

void MapPreview::mousePressEvent(QMouseEvent *event)
{
    m_pressed = event->button() == Qt::LeftButton;
    event->accept();
}

void MapPreview::mouseReleaseEvent(QMouseEvent *event)
{
    const bool click = m_pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    m_pressed = false;
    event->accept();
    if (click)
        openMapsLink();
}

void MapPreview::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter || event->key() == Qt::Key_Space) {
        openMapsLink();
        return;
    }
    QWidget::keyPressEvent(event);
}

void MapPreview::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    m_keyboardFocus = event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason;
    update();
}

void MapPreview::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    m_keyboardFocus = false;
    update();
}

QString MapPreview::coordinateText() const
{
    if (!m_place || !PlaceRules::isValidCoordinate(m_place->latitude, m_place->longitude))
        return QString();
    const auto part = [](double value, QChar positive, QChar negative) {
        return QStringLiteral("%1° %2").arg(std::abs(value), 0, 'f', 4).arg(value < 0 ? negative : positive);
    };
    return part(m_place->latitude, u'N', u'S') + QStringLiteral(", ") + part(m_place->longitude, u'E', u'W');
}

void MapPreview::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QRectF frame = QRectF(rect());
    QPainterPath outline;
    outline.addRoundedRect(frame, CornerRadius, CornerRadius);
    painter.setClipPath(outline);
    painter.fillRect(frame, PlacesStyle::mapGround());

    bool tilesDrawn = false;
    for (const MapViewport::Placement &placement : std::as_const(m_placements)) {
        const auto found = m_images.constFind(placement.tile);
        if (found == m_images.constEnd())
            continue;
        // Whole pixels on every edge, so neighbouring tiles meet without seams.
        const QRectF &t = placement.target;
        const QRect target(QPoint(int(std::floor(t.left())), int(std::floor(t.top()))),
            QPoint(int(std::ceil(t.right())) - 1, int(std::ceil(t.bottom())) - 1));
        painter.drawImage(target, *found);
        tilesDrawn = true;
    }

    if (m_place) {
        const QPointF tip
            = m_viewport ? m_viewport->project(m_place->latitude, m_place->longitude) : frame.center() + QPointF(0, 12);
        drawMarker(painter, tip);
        const QRectF nameArea(8, tip.y() + 3, width() - 16, 18);
        drawCaption(painter, nameArea, m_place->name, Qt::AlignHCenter | Qt::AlignTop,
            PlacesStyle::font(12, QFont::DemiBold), PlacesStyle::mapText());
        // The tiles' makers are credited; the placeholder names the spot.
        const QString footnote = tilesDrawn ? QStringLiteral("© OpenStreetMap") : coordinateText();
        drawCaption(painter, frame.adjusted(10, 0, -10, -6), footnote,
            (tilesDrawn ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignBottom, PlacesStyle::font(10),
            PlacesStyle::mapMutedText());
    }

    painter.setClipping(false);
    QColor edge(0, 0, 0, 28);
    painter.setPen(QPen(edge, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(frame.adjusted(0.5, 0.5, -0.5, -0.5), CornerRadius, CornerRadius);
    if (m_keyboardFocus) {
        painter.setPen(QPen(PlacesStyle::accent(palette()), 2));
        painter.drawRoundedRect(frame.adjusted(1, 1, -1, -1), CornerRadius - 1, CornerRadius - 1);
    }
}

void MapPreview::drawMarker(QPainter &painter, const QPointF &tip) const
{
    // A balloon whose point rests on the place.
    const qreal radius = 12;
    const QPointF head(tip.x(), tip.y() - 22);
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 50));
    painter.drawEllipse(QRectF(tip.x() - 6, tip.y() - 2.5, 12, 5));

    QPainterPath balloon;
    balloon.addEllipse(head, radius, radius);
    QPainterPath point;
    point.moveTo(head.x() - radius * 0.62, head.y() + radius * 0.78);
    point.lineTo(tip);
    point.lineTo(head.x() + radius * 0.62, head.y() + radius * 0.78);
    point.closeSubpath();
    balloon = balloon.united(point);
    painter.setPen(QPen(QColor(255, 255, 255), 1.5));
    painter.setBrush(PlacesStyle::markerRed());
    painter.drawPath(balloon);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255));
    painter.drawEllipse(head, 4.5, 4.5);
    painter.restore();
}

void MapPreview::drawCaption(QPainter &painter, const QRectF &area, const QString &text, Qt::Alignment alignment,
    const QFont &font, const QColor &color) const
{
    if (text.isEmpty())
        return;
    const QFontMetricsF metrics(font);
    // Names come from outside: drawn as plain text, cut to the width.
    const QString shown = metrics.elidedText(text, Qt::ElideRight, area.width());
    const QSizeF size(metrics.horizontalAdvance(shown), metrics.height());
    qreal x = area.left();
    if (alignment & Qt::AlignRight)
        x = area.right() - size.width();
    else if (alignment & Qt::AlignHCenter)
        x = area.center().x() - size.width() / 2;
    const qreal y = (alignment & Qt::AlignBottom) ? area.bottom() - size.height() : area.top();
    const QRectF box(QPointF(x, y), size);
    QPainterPath path;
    path.addText(QPointF(box.left(), box.top() + metrics.ascent()), font, shown);
    painter.save();
    // A light halo keeps the text readable over any map.
    painter.setPen(QPen(QColor(255, 255, 255, 220), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(path);
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    painter.drawPath(path);
    painter.restore();
}

} // namespace quillery::ui
