#pragma once

#include "TileUrlTemplate.h"

#include <QByteArray>
#include <QString>
#include <QUrl>

#include <optional>

namespace quillery {

// Where the place services reach the network, and how they introduce
// themselves there. The defaults are public servers; the environment
// variables QUILLERY_PLACES_URL and QUILLERY_TILE_URL point them elsewhere
// (a private server, or a local one in tests), and set to "off" or to nothing
// switch the online search or the map tiles off.
class PlaceEndpoints final
{
public:
    static QString defaultSearchUrl() { return QStringLiteral("https://photon.komoot.io/api/"); }
    static QString defaultTileUrl() { return QStringLiteral("https://tile.openstreetmap.org/{z}/{x}/{y}.png"); }

    // "Quillery/<version> (+https://quillery.app)": public servers ask every
    // client to name itself and a way to reach its makers.
    static QByteArray userAgent();

    // The geocoder to ask, none when switched off or not a usable http(s)
    // address. `setting` is the environment value (none when unset).
    static std::optional<QUrl> searchUrl(const std::optional<QString> &setting);
    static std::optional<QUrl> searchUrlFromEnvironment();

    // The tile server, none when switched off or not a usable pattern.
    static std::optional<TileUrlTemplate> tileUrl(const std::optional<QString> &setting);
    static std::optional<TileUrlTemplate> tileUrlFromEnvironment();
};

} // namespace quillery
