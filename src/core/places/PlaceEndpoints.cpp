#include "PlaceEndpoints.h"

#include <QtGlobal>

namespace quillery {

namespace {

std::optional<QString> environment(const char *name)
{
    if (!qEnvironmentVariableIsSet(name))
        return std::nullopt;
    return qEnvironmentVariable(name);
}

bool switchedOff(const QString &setting)
{
    const QString value = setting.trimmed();
    return value.isEmpty() || value.compare(QLatin1String("off"), Qt::CaseInsensitive) == 0;
}

} // namespace

QByteArray PlaceEndpoints::userAgent()
{
    return QByteArrayLiteral("Quillery/" QUILLERY_VERSION " (+https://quillery.app)");
}

std::optional<QUrl> PlaceEndpoints::searchUrl(const std::optional<QString> &setting)
{
    const QString text = setting ? setting->trimmed() : defaultSearchUrl();
    if (setting && switchedOff(*setting))
        return std::nullopt;
    const QUrl url(text, QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty()
        || (url.scheme() != QLatin1String("https") && url.scheme() != QLatin1String("http")))
        return std::nullopt;
    return url;
}

std::optional<QUrl> PlaceEndpoints::searchUrlFromEnvironment()
{
    return searchUrl(environment("QUILLERY_PLACES_URL"));
}

std::optional<TileUrlTemplate> PlaceEndpoints::tileUrl(const std::optional<QString> &setting)
{
    if (setting && switchedOff(*setting))
        return std::nullopt;
    return TileUrlTemplate::parse(setting ? setting->trimmed() : defaultTileUrl());
}

std::optional<TileUrlTemplate> PlaceEndpoints::tileUrlFromEnvironment()
{
    return tileUrl(environment("QUILLERY_TILE_URL"));
}

} // namespace quillery
