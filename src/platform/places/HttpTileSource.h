#pragma once

#include "HttpGet.h"
#include "NetworkAccess.h"
#include "core/places/TileUrlTemplate.h"
#include "gui/places/MapTileSource.h"

#include <QCache>
#include <QHash>
#include <QList>

#include <memory>
#include <optional>

namespace quillery {

// Map tiles from an OpenStreetMap-compatible raster tile server, kept in a
// disk cache so that places seen once still show their map offline. Requests
// are few at a time (public tile servers ask for that), the same tile is never
// asked for twice at once, and a tile the network cannot deliver is looked up
// in the cache before it is given up. Without a server (switched off) every
// tile fails, and the previews draw their placeholder.
class HttpTileSource final : public MapTileSource
{
    Q_OBJECT
public:
    struct Options {
        std::optional<TileUrlTemplate> server; // none: tiles switched off
        QString cacheDirectory; // empty: no disk cache
        int maxZoom = 19;
        int timeoutMs = 10000;
        qint64 maxBytes = 512 * 1024;
        qint64 cacheBytes = 64 * 1024 * 1024;
        int parallel = 2;
    };
    // Tiles larger than this are refused (a tile is 256 or 512 pixels square).
    static constexpr int MaxTileSide = 1024;

    explicit HttpTileSource(Options options, QObject *parent = nullptr);
    ~HttpTileSource() override;

    // The cache folder under the user's cache location.
    static QString defaultCacheDirectory();

    int maxZoom() const override { return m_options.maxZoom; }
    void requestTile(const MapTile &tile) override;

private:
    void startMore();
    void fetch(const MapTile &tile, QNetworkRequest::CacheLoadControl cache);
    void take(const MapTile &tile, QNetworkRequest::CacheLoadControl cache, const HttpGet::Answer &answer);
    void deliver(const MapTile &tile, const QImage &image);
    void failLater(const MapTile &tile);

    Options m_options;
    NetworkAccess m_network;
    QList<MapTile> m_queue;
    QHash<MapTile, std::shared_ptr<HttpGet>> m_running;
    QCache<MapTile, QImage> m_memory;
};

} // namespace quillery
