#include "PhotonParser.h"

#include "PlaceRules.h"
#include "PlaceText.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

#include <cmath>

namespace quillery {

namespace {

QString textOf(const QJsonObject &properties, QLatin1StringView key, bool numbersToo = false)
{
    const QJsonValue value = properties.value(key);
    if (value.isString())
        return PlaceText::clean(value.toString());
    // House numbers occasionally arrive as numbers; only whole ones make sense.
    if (numbersToo && value.isDouble()) {
        const double number = value.toDouble();
        if (std::isfinite(number) && number >= 0 && number < 1e9 && std::floor(number) == number)
            return QString::number(qint64(number));
    }
    return {};
}

std::optional<PlaceSuggestion> suggestionOf(const QJsonValue &value)
{
    if (!value.isObject())
        return std::nullopt;
    const QJsonObject feature = value.toObject();
    const QJsonObject geometry = feature.value(QLatin1StringView("geometry")).toObject();
    const QJsonArray coordinates = geometry.value(QLatin1StringView("coordinates")).toArray();
    if (coordinates.size() < 2 || !coordinates.at(0).isDouble() || !coordinates.at(1).isDouble())
        return std::nullopt;
    // GeoJSON puts the longitude first.
    const double longitude = coordinates.at(0).toDouble();
    const double latitude = coordinates.at(1).toDouble();
    if (!PlaceRules::isValidCoordinate(latitude, longitude))
        return std::nullopt;

    const QJsonObject properties = feature.value(QLatin1StringView("properties")).toObject();
    PlaceItem item;
    item.name = textOf(properties, QLatin1StringView("name"));
    item.houseNumber = textOf(properties, QLatin1StringView("housenumber"), true);
    item.street = textOf(properties, QLatin1StringView("street"));
    item.locality = textOf(properties, QLatin1StringView("city"));
    item.latitude = latitude;
    item.longitude = longitude;
    const QString state = textOf(properties, QLatin1StringView("state"));
    const QString country = textOf(properties, QLatin1StringView("country"));

    PlaceSuggestion suggestion;
    const QString street = PlaceRules::streetLine(item);
    suggestion.title = PlaceText::clean(!item.name.isEmpty() ? item.name : !street.isEmpty() ? street : item.locality);
    if (suggestion.title.isEmpty())
        return std::nullopt;

    QStringList parts;
    const auto add = [&](const QString &part) {
        if (!part.isEmpty() && part != suggestion.title && !parts.contains(part))
            parts.append(part);
    };
    add(street);
    add(item.locality);
    add(state);
    add(country);
    suggestion.subtitle = PlaceText::clean(parts.join(QStringLiteral(", ")));
    suggestion.source = PlaceSources::Online;
    suggestion.item = item;
    return suggestion;
}

} // namespace

std::optional<QList<PlaceSuggestion>> PhotonParser::parse(const QByteArray &json)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    const QJsonValue features = document.object().value(QLatin1StringView("features"));
    if (!features.isArray())
        return std::nullopt;
    const QJsonArray array = features.toArray();
    QList<PlaceSuggestion> result;
    for (qsizetype i = 0; i < array.size() && i < MaxFeatures; ++i) {
        if (auto suggestion = suggestionOf(array.at(i)))
            result.append(std::move(*suggestion));
    }
    return result;
}

} // namespace quillery
