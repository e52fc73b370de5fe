#pragma once

#include "MapTile.h"

#include <QList>
#include <QPointF>
#include <QRectF>
#include <QSizeF>

#include <optional>

namespace quillery {

// Which web-map tiles show a square region of the ground centred on a place,
// and where each tile goes in a view of a given size. The region is fitted
// into the view so that it is wholly visible (the view's shorter side spans
// it); tiles are taken at the zoom level nearest the needed detail for the
// screen's pixel density and scaled to fit.
class MapViewport final
{
public:
    static constexpr int TileSize = 256; // pixels of one tile
    static constexpr double MaxLatitude = 85.0511287798; // limit of the web map

    struct Placement {
        MapTile tile;
        QRectF target; // in view coordinates
    };

    // None when the coordinate cannot be shown, the view is empty or the span
    // is not positive.
    static std::optional<MapViewport> fit(
        double latitude, double longitude, double spanMeters, const QSizeF &view, qreal devicePixelRatio, int maxZoom);

    int zoom() const { return m_zoom; }
    // View pixels per tile pixel.
    double scale() const { return m_scale; }
    // The tiles covering the view, row by row; columns wrap around the
    // antimeridian, rows beyond the poles are left out.
    QList<Placement> placements() const;
    // Where a coordinate falls in the view.
    QPointF project(double latitude, double longitude) const;

    // The position of a coordinate on the whole map at `zoom`, in tile pixels.
    static QPointF worldPixel(double latitude, double longitude, int zoom);
    // Metres of ground per tile pixel at `latitude` and `zoom`.
    static double metersPerPixel(double latitude, int zoom);

private:
    MapViewport() = default;

    QSizeF m_view;
    int m_zoom = 0;
    double m_scale = 1;
    QPointF m_topLeft; // world pixel at the view's top-left corner
};

} // namespace quillery
