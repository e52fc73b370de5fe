#pragma once

#include "MapTile.h"

#include <QString>
#include <QUrl>

#include <optional>

namespace quillery {

// The address pattern of a raster tile server, such as
// "https://tile.openstreetmap.org/{z}/{x}/{y}.png". Only http and https
// patterns with a host and all three of {z}, {x} and {y} are accepted.
class TileUrlTemplate final
{
public:
    static std::optional<TileUrlTemplate> parse(const QString &pattern);

    QString pattern() const { return m_pattern; }
    QUrl url(const MapTile &tile) const;

private:
    explicit TileUrlTemplate(QString pattern)
        : m_pattern(std::move(pattern))
    { }

    QString m_pattern;
};

} // namespace quillery
