#include "core/places/PlaceRules.h"
#include "FakePlaceService.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace quillery;
using quillery::test::suggestion;

namespace {

PlaceItem item(const QString &name, const QString &houseNumber, const QString &street, const QString &locality)
{
    PlaceItem item;
    item.name = name;
    item.houseNumber = houseNumber;
    item.street = street;
    item.locality = locality;
    item.latitude = 39.8;
    item.longitude = -89.65;
    return item;
}

const PlaceSuggestion Picked
    = suggestion(QStringLiteral("Springfield Library"), QStringLiteral("Illinois, United States"));

} // namespace

TEST(PlaceRules, addressIsStreetLineThenLocality)
{
    struct Case {
        PlaceItem item;
        QString address;
    };
    const QList<Case> cases = {
        { item({}, "12", "High Street", "Springfield"), "12 High Street, Springfield" },
        { item({}, {}, "High Street", "Springfield"), "High Street, Springfield" },
        { item({}, "12", "High Street", {}), "12 High Street" },
        { item({}, {}, {}, "Springfield"), "Springfield" },
        // A house number means nothing without its street.
        { item({}, "12", {}, "Springfield"), "Springfield" },
        // Neither: the suggestion's subtitle stands in.
        { item({}, "12", {}, {}), Picked.subtitle },
        { item({}, {}, {}, {}), Picked.subtitle },
    };
    for (const Case &c : cases) {
        const Place place = PlaceRules::placeFromItem(c.item, Picked);
        EXPECT_EQ(place.address, c.address) << place.address.toStdString();
        EXPECT_EQ(place.latitude, 39.8);
        EXPECT_EQ(place.longitude, -89.65);
    }
}

TEST(PlaceRules, nameIsTheItemsOrElseTheSuggestionsTitle)
{
    EXPECT_EQ(PlaceRules::placeFromItem(item("Town Hall", {}, {}, {}), Picked).name, QStringLiteral("Town Hall"));
    EXPECT_EQ(PlaceRules::placeFromItem(item({}, "12", "High Street", {}), Picked).name, Picked.title);
}

TEST(PlaceRules, answerTakesTheFirstItemThatCanBeShownOnAMap)
{
    EXPECT_EQ(PlaceRules::placeFromAnswer({}, Picked), std::nullopt);

    PlaceItem first = item("First", {}, {}, {});
    PlaceItem second = item("Second", {}, {}, {});
    EXPECT_EQ(PlaceRules::placeFromAnswer({ first, second }, Picked)->name, QStringLiteral("First"));

    PlaceItem broken = first;
    broken.latitude = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(PlaceRules::placeFromAnswer({ broken, second }, Picked)->name, QStringLiteral("Second"));
    broken.latitude = 91;
    EXPECT_EQ(PlaceRules::placeFromAnswer({ broken }, Picked), std::nullopt);
}

TEST(PlaceRules, coordinatesMustBeFiniteAndOnTheGlobe)
{
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_TRUE(PlaceRules::isValidCoordinate(90, 180));
    EXPECT_TRUE(PlaceRules::isValidCoordinate(-90, -180));
    EXPECT_TRUE(PlaceRules::isValidCoordinate(0, 0));
    EXPECT_FALSE(PlaceRules::isValidCoordinate(90.000001, 0));
    EXPECT_FALSE(PlaceRules::isValidCoordinate(0, -180.000001));
    EXPECT_FALSE(PlaceRules::isValidCoordinate(nan, 0));
    EXPECT_FALSE(PlaceRules::isValidCoordinate(0, inf));
    EXPECT_FALSE(PlaceRules::isValidCoordinate(-inf, 0));
}

TEST(PlaceRules, mergePutsOnlineFirstAndDropsDuplicates)
{
    const QString online = PlaceSources::Online;
    const QList<PlaceSuggestion> fromOnline = {
        suggestion("Berlin", "Deutschland", 52.5170, 13.3889, online),
        suggestion("Berliner Dom", "Am Lustgarten, Berlin, Deutschland", 52.519, 13.401, online),
        suggestion("Springfield", "Massachusetts, United States", 42.1015, -72.5898, online),
    };
    const QList<PlaceSuggestion> fromOffline = {
        // The same city as the online one, worded differently, a few km off.
        suggestion("Berlin", "Berlin, Germany", 52.52437, 13.41053),
        // The same name in another state: a different place.
        suggestion("Springfield", "Illinois, United States", 39.80172, -89.64371),
        // Identical but for case and accents.
        suggestion("BERLINER DÔM", "am lustgarten, berlin, deutschland", 10, 10),
        suggestion("New Berlin", "Wisconsin, United States", 42.9764, -88.1084),
    };
    const QList<PlaceSuggestion> merged = PlaceRules::merge(fromOnline, fromOffline);
    QStringList shown;
    for (const PlaceSuggestion &s : merged)
        shown.append(s.title + u'|' + s.subtitle);
    EXPECT_EQ(shown,
        QStringList({ "Berlin|Deutschland", "Berliner Dom|Am Lustgarten, Berlin, Deutschland",
            "Springfield|Massachusetts, United States", "Springfield|Illinois, United States",
            "New Berlin|Wisconsin, United States" }));
}

TEST(PlaceRules, mergeKeepsNearbyNamesakesOfTheSameProvider)
{
    // Two streets of one name in neighbouring towns are both real choices.
    const QString online = PlaceSources::Online;
    const QList<PlaceSuggestion> streets = {
        suggestion("Main Street", "Shelbyville", 39.40, -89.60, online),
        suggestion("Main Street", "Springfield", 39.41, -89.61, online),
        suggestion("Main Street", "Springfield", 39.41, -89.61, online),
    };
    EXPECT_EQ(PlaceRules::merge(streets, {}).size(), 2);
    EXPECT_EQ(PlaceRules::merge({}, {}).size(), 0);
}

TEST(PlaceRules, distanceBetweenKnownCities)
{
    // Berlin to Paris is about 878 km.
    EXPECT_NEAR(PlaceRules::distanceKm(52.52, 13.405, 48.8566, 2.3522), 878, 5);
    EXPECT_NEAR(PlaceRules::distanceKm(0, 179.9, 0, -179.9), 22.2, 0.5);
}
