#include "TileUrlTemplate.h"

namespace quillery {

namespace {
QString filled(QString pattern, int z, int x, int y)
{
    return pattern.replace(QStringLiteral("{z}"), QString::number(z))
        .replace(QStringLiteral("{x}"), QString::number(x))
        .replace(QStringLiteral("{y}"), QString::number(y));
}
} // namespace

std::optional<TileUrlTemplate> TileUrlTemplate::parse(const QString &pattern)
{
    for (const QLatin1StringView part :
        { QLatin1StringView("{z}"), QLatin1StringView("{x}"), QLatin1StringView("{y}") }) {
        if (!pattern.contains(part))
            return std::nullopt;
    }
    const QUrl sample(filled(pattern, 0, 0, 0), QUrl::StrictMode);
    if (!sample.isValid() || sample.host().isEmpty()
        || (sample.scheme() != QLatin1String("https") && sample.scheme() != QLatin1String("http")))
        return std::nullopt;
    return TileUrlTemplate(pattern);
}

QUrl TileUrlTemplate::url(const MapTile &tile) const
{
    return QUrl(filled(m_pattern, tile.z, tile.x, tile.y), QUrl::StrictMode);
}

} // namespace quillery
