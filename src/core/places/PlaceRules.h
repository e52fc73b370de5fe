#pragma once

#include "PlaceItem.h"
#include "PlaceSuggestion.h"
#include "core/model/Place.h"

#include <QList>

#include <optional>

namespace quillery {

// The rules that turn search answers into a `Place`, and that combine the
// suggestions of two providers. Pure functions, no service involved.
namespace PlaceRules {

// Whether a coordinate can be shown on a map: finite, latitude within ±90 and
// longitude within ±180 degrees.
bool isValidCoordinate(double latitude, double longitude);

// "12 High Street": the house number and the street joined by one space, the
// house number left out when absent. Empty when there is no street: a house
// number alone means nothing.
QString streetLine(const PlaceItem &item);

// "12 High Street, Springfield": the street line and the locality, whichever
// are present, joined by ", ".
QString addressLine(const PlaceItem &item);

// The place for one resolved item of `suggestion`: the item's name or else the
// suggestion's title; the item's address or else the suggestion's subtitle;
// the item's coordinate.
Place placeFromItem(const PlaceItem &item, const PlaceSuggestion &suggestion);

// The place of a search answer: built from its first item, none when it has
// no items. Items whose coordinate cannot be shown are passed over first, so a
// broken item never becomes a place on the map.
std::optional<Place> placeFromAnswer(const QList<PlaceItem> &items, const PlaceSuggestion &suggestion);

// Whether two suggestions name the same place. The same title and subtitle
// (ignoring case and accents) always do. Across providers the subtitles are
// worded differently ("Berlin, Germany" and "Germany"), so there the same
// title with coordinates less than SameTownKm apart counts too.
bool isDuplicate(const PlaceSuggestion &a, const PlaceSuggestion &b);
inline constexpr double SameTownKm = 10.0;

// The online suggestions, then the offline ones, each in its own order,
// leaving out any suggestion that duplicates one already taken.
QList<PlaceSuggestion> merge(const QList<PlaceSuggestion> &online, const QList<PlaceSuggestion> &offline);

// Great-circle distance in kilometres.
double distanceKm(double latitudeA, double longitudeA, double latitudeB, double longitudeB);

} // namespace PlaceRules

} // namespace quillery
