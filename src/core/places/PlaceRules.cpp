#include "PlaceRules.h"

#include "PlaceText.h"

#include <QMultiHash>

#include <cmath>
#include <numbers>

namespace quillery::PlaceRules {

namespace {

QString joined(const QString &first, const QString &second, const QString &separator)
{
    if (first.isEmpty())
        return second;
    if (second.isEmpty())
        return first;
    return first + separator + second;
}

// What a suggestion is compared on, folded once per merge rather than once
// per comparison.
struct MergeKey {
    QString title;
    QString subtitle;
    const PlaceSuggestion *suggestion;
};

MergeKey keyOf(const PlaceSuggestion &suggestion)
{
    return { PlaceText::fold(suggestion.title), PlaceText::fold(suggestion.subtitle), &suggestion };
}

bool sameKeys(const MergeKey &a, const MergeKey &b)
{
    if (a.title != b.title)
        return false;
    if (a.subtitle == b.subtitle)
        return true;
    const PlaceSuggestion &x = *a.suggestion;
    const PlaceSuggestion &y = *b.suggestion;
    if (x.source == y.source || !x.item || !y.item)
        return false;
    if (!isValidCoordinate(x.item->latitude, x.item->longitude)
        || !isValidCoordinate(y.item->latitude, y.item->longitude))
        return false;
    return distanceKm(x.item->latitude, x.item->longitude, y.item->latitude, y.item->longitude) < SameTownKm;
}

} // namespace

bool isValidCoordinate(double latitude, double longitude)
{
    return std::isfinite(latitude) && std::isfinite(longitude) && std::abs(latitude) <= 90.0
        && std::abs(longitude) <= 180.0;
}

QString streetLine(const PlaceItem &item)
{
    if (item.street.isEmpty())
        return {};
    return joined(item.houseNumber, item.street, QStringLiteral(" "));
}

QString addressLine(const PlaceItem &item)
{
    return joined(streetLine(item), item.locality, QStringLiteral(", "));
}

Place placeFromItem(const PlaceItem &item, const PlaceSuggestion &suggestion)
{
    Place place;
    place.name = item.name.isEmpty() ? suggestion.title : item.name;
    place.address = addressLine(item);
    if (place.address.isEmpty())
        place.address = suggestion.subtitle;
    place.latitude = item.latitude;
    place.longitude = item.longitude;
    return place;
}

std::optional<Place> placeFromAnswer(const QList<PlaceItem> &items, const PlaceSuggestion &suggestion)
{
    for (const PlaceItem &item : items) {
        if (isValidCoordinate(item.latitude, item.longitude))
            return placeFromItem(item, suggestion);
    }
    return std::nullopt;
}

bool isDuplicate(const PlaceSuggestion &a, const PlaceSuggestion &b)
{
    return sameKeys(keyOf(a), keyOf(b));
}

QList<PlaceSuggestion> merge(const QList<PlaceSuggestion> &online, const QList<PlaceSuggestion> &offline)
{
    // Only suggestions of the same folded title can duplicate each other, so
    // each is compared with those alone.
    QList<MergeKey> taken;
    taken.reserve(online.size() + offline.size());
    QMultiHash<QString, qsizetype> byTitle;
    byTitle.reserve(online.size() + offline.size());
    QList<PlaceSuggestion> result;
    result.reserve(online.size() + offline.size());
    const auto add = [&](const QList<PlaceSuggestion> &list) {
        for (const PlaceSuggestion &suggestion : list) {
            MergeKey key = keyOf(suggestion);
            bool duplicate = false;
            for (auto it = byTitle.constFind(key.title); it != byTitle.cend() && it.key() == key.title; ++it) {
                if (sameKeys(taken.at(it.value()), key)) {
                    duplicate = true;
                    break;
                }
            }
            if (!duplicate) {
                result.append(suggestion);
                byTitle.insert(key.title, taken.size());
                taken.append(std::move(key));
            }
        }
    };
    add(online);
    add(offline);
    // The keys point into the callers' lists; they end here with `taken`.
    return result;
}

double distanceKm(double latitudeA, double longitudeA, double latitudeB, double longitudeB)
{
    constexpr double EarthRadiusKm = 6371.0088;
    constexpr double toRadians = std::numbers::pi / 180.0;
    const double phiA = latitudeA * toRadians;
    const double phiB = latitudeB * toRadians;
    const double dPhi = (latitudeB - latitudeA) * toRadians;
    const double dLambda = (longitudeB - longitudeA) * toRadians;
    const double h = std::sin(dPhi / 2) * std::sin(dPhi / 2)
        + std::cos(phiA) * std::cos(phiB) * std::sin(dLambda / 2) * std::sin(dLambda / 2);
    return 2 * EarthRadiusKm * std::asin(std::min(1.0, std::sqrt(h)));
}

} // namespace quillery::PlaceRules
