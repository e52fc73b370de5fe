#include "MapViewport.h"

#include "PlaceRules.h"

#include <cmath>
#include <numbers>

namespace quillery {

namespace {
constexpr double EarthCircumference = 2 * std::numbers::pi * 6378137.0; // metres at the equator
}

QPointF MapViewport::worldPixel(double latitude, double longitude, int zoom)
{
    const double world = TileSize * std::ldexp(1.0, zoom);
    const double phi = std::clamp(latitude, -MaxLatitude, MaxLatitude) * std::numbers::pi / 180.0;
    const double x = (longitude + 180.0) / 360.0 * world;
    const double y = (1.0 - std::log(std::tan(phi) + 1.0 / std::cos(phi)) / std::numbers::pi) / 2.0 * world;
    return { x, y };
}

double MapViewport::metersPerPixel(double latitude, int zoom)
{
    const double phi = std::clamp(latitude, -MaxLatitude, MaxLatitude) * std::numbers::pi / 180.0;
    return EarthCircumference * std::cos(phi) / (TileSize * std::ldexp(1.0, zoom));
}

std::optional<MapViewport> MapViewport::fit(
    double latitude, double longitude, double spanMeters, const QSizeF &view, qreal devicePixelRatio, int maxZoom)
{
    if (!PlaceRules::isValidCoordinate(latitude, longitude) || !std::isfinite(spanMeters) || spanMeters <= 0
        || !(view.width() > 0) || !(view.height() > 0) || !std::isfinite(view.width()) || !std::isfinite(view.height()))
        return std::nullopt;
    const double dpr = std::isfinite(devicePixelRatio) && devicePixelRatio > 0 ? devicePixelRatio : 1.0;
    maxZoom = std::clamp(maxZoom, 0, 22);

    // The zoom, fractional, at which one device pixel covers the ground needed.
    const double neededPerViewPixel = spanMeters / std::min(view.width(), view.height());
    const double exactZoom = std::log2(metersPerPixel(latitude, 0) / neededPerViewPixel);
    const double deviceZoom = exactZoom + std::log2(dpr);

    MapViewport viewport;
    viewport.m_view = view;
    viewport.m_zoom = std::clamp(int(std::lround(deviceZoom)), 0, maxZoom);
    viewport.m_scale = std::exp2(exactZoom - viewport.m_zoom);
    const QPointF centre = worldPixel(latitude, longitude, viewport.m_zoom);
    viewport.m_topLeft = centre - QPointF(view.width() / 2, view.height() / 2) / viewport.m_scale;
    return viewport;
}

QPointF MapViewport::project(double latitude, double longitude) const
{
    return (worldPixel(latitude, longitude, m_zoom) - m_topLeft) * m_scale;
}

QList<MapViewport::Placement> MapViewport::placements() const
{
    const double left = m_topLeft.x();
    const double top = m_topLeft.y();
    const double right = left + m_view.width() / m_scale;
    const double bottom = top + m_view.height() / m_scale;
    const int count = 1 << m_zoom;
    const auto firstTile = [](double pixel) { return int(std::floor(pixel / TileSize)); };
    const auto lastTile = [](double pixel) { return int(std::ceil(pixel / TileSize)) - 1; };

    QList<Placement> result;
    for (int row = std::max(0, firstTile(top)); row <= std::min(count - 1, lastTile(bottom)); ++row) {
        for (int column = firstTile(left); column <= lastTile(right); ++column) {
            const int wrapped = ((column % count) + count) % count;
            const QRectF target(
                QPointF((column * double(TileSize) - left) * m_scale, (row * double(TileSize) - top) * m_scale),
                QSizeF(TileSize * m_scale, TileSize * m_scale));
            result.append({ MapTile { m_zoom, wrapped, row }, target });
        }
    }
    return result;
}

} // namespace quillery
