#pragma once

#include "core/places/MapTile.h"

#include <QImage>
#include <QObject>

namespace quillery {

// Where map previews get their raster tiles. Shared by every preview: a
// preview asks for the tiles it needs and picks its own out of the answers.
class MapTileSource : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    // The deepest zoom level the server offers.
    virtual int maxZoom() const = 0;

    // Asks for one tile. The answer, tileReady or tileFailed, always comes
    // later through the event loop.
    virtual void requestTile(const MapTile &tile) = 0;

Q_SIGNALS:
    void tileReady(const quillery::MapTile &tile, const QImage &image);
    void tileFailed(const quillery::MapTile &tile);
};

} // namespace quillery
