// How a chosen suggestion becomes a task's place, how the two providers'
// lists merge, how text from the network is made safe to show, and which
// server addresses are taken.
#include "core/places/PlaceRules.h"
#include "FakePlaceService.h"
#include "core/places/PlaceEndpoints.h"
#include "core/places/PlaceText.h"
#include "core/places/TileUrlTemplate.h"

#include <gtest/gtest.h>

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

TEST(PlaceRules, aPlaceIsNamedAndAddressedFromWhatTheAnswerHolds)
{
    const Place house = PlaceRules::placeFromItem(item({}, "12", "High Street", "Springfield"), Picked);
    EXPECT_EQ(house, Place({ Picked.title, "12 High Street, Springfield", 39.8, -89.65 }));
    // A house number means nothing without its street; with neither street
    // nor locality the suggestion's subtitle stands in.
    EXPECT_EQ(PlaceRules::placeFromItem(item({}, "12", {}, "Springfield"), Picked).address, "Springfield");
    EXPECT_EQ(PlaceRules::placeFromItem(item({}, "12", {}, {}), Picked).address, Picked.subtitle);
    EXPECT_EQ(PlaceRules::placeFromItem(item("Town Hall", {}, {}, {}), Picked).name, QStringLiteral("Town Hall"));

    // The first item that can be shown on a map is taken.
    PlaceItem broken = item("Broken", {}, {}, {});
    broken.latitude = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(PlaceRules::placeFromAnswer({ broken, item("Second", {}, {}, {}) }, Picked)->name, "Second");
    broken.latitude = 91;
    EXPECT_EQ(PlaceRules::placeFromAnswer({ broken }, Picked), std::nullopt);
    EXPECT_EQ(PlaceRules::placeFromAnswer({}, Picked), std::nullopt);
}

TEST(PlaceRules, mergePutsOnlineFirstAndDropsOnlyTrueDuplicates)
{
    const QString online = PlaceSources::Online;
    const QList<PlaceSuggestion> fromOnline = {
        suggestion("Berlin", "Deutschland", 52.5170, 13.3889, online),
        suggestion("Berliner Dom", "Am Lustgarten, Berlin, Deutschland", 52.519, 13.401, online),
        suggestion("Springfield", "Massachusetts, United States", 42.1015, -72.5898, online),
        // Two streets of one name in neighbouring towns are both real choices.
        suggestion("Main Street", "Shelbyville", 39.40, -89.60, online),
        suggestion("Main Street", "Springfield", 39.41, -89.61, online),
        suggestion("Main Street", "Springfield", 39.41, -89.61, online),
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
    QStringList shown;
    for (const PlaceSuggestion &s : PlaceRules::merge(fromOnline, fromOffline))
        shown.append(s.title + u'|' + s.subtitle);
    EXPECT_EQ(shown,
        QStringList({ "Berlin|Deutschland", "Berliner Dom|Am Lustgarten, Berlin, Deutschland",
            "Springfield|Massachusetts, United States", "Main Street|Shelbyville", "Main Street|Springfield",
            "Springfield|Illinois, United States", "New Berlin|Wisconsin, United States" }));
}

TEST(PlaceText, networkTextBecomesOneShowableLineCutWithoutSplittingACharacter)
{
    EXPECT_EQ(PlaceText::clean(QStringLiteral("  Café\tde\n\nla   Paix\r ")), QStringLiteral("Café de la Paix"));
    // Controls, bidirectional overrides and byte-order marks would hide or
    // reorder what is shown; markup stays text, other scripts and joiners stay.
    EXPECT_EQ(PlaceText::clean(QString::fromUtf8("Bank\x07 of\u202E evil\u2066\uFEFF\x1B[31m <b>")),
        QStringLiteral("Bank of evil[31m <b>"));
    EXPECT_EQ(PlaceText::clean(QString::fromUtf8("東京都 👩\u200D💻")), QString::fromUtf8("東京都 👩\u200D💻"));

    const QString emoji = QString::fromUtf8("😀"); // two UTF-16 units
    const QString cleaned = PlaceText::clean(QString(PlaceText::MaxLength - 1, u'a') + emoji + QStringLiteral("tail"));
    EXPECT_EQ(cleaned, QString(PlaceText::MaxLength - 1, u'a'));
    // A lone surrogate (broken UTF-16) is dropped, not passed on.
    QString broken = QStringLiteral("ab");
    broken.insert(1, QChar(0xD800));
    EXPECT_EQ(PlaceText::clean(broken), QStringLiteral("ab"));
}

TEST(PlaceEndpoints, onlyHttpServersAreAskedAndTilesNeedAllThreeCoordinates)
{
    EXPECT_EQ(PlaceEndpoints::searchUrl(std::nullopt), QUrl(PlaceEndpoints::defaultSearchUrl()));
    EXPECT_EQ(PlaceEndpoints::searchUrl(QStringLiteral(" http://127.0.0.1:8080/api ")),
        QUrl(QStringLiteral("http://127.0.0.1:8080/api")));
    for (const QString &off : { QString(), QStringLiteral(" OFF "), QStringLiteral("file:///etc/passwd"),
             QStringLiteral("ftp://example.org/api"), QStringLiteral("not a url"), QStringLiteral("http://") })
        EXPECT_FALSE(PlaceEndpoints::searchUrl(off)) << off.toStdString();

    const auto local = PlaceEndpoints::tileUrl(QStringLiteral("http://127.0.0.1:9/t/{z}-{y}-{x}?k=1"));
    ASSERT_TRUE(local);
    EXPECT_EQ(local->url({ 3, 1, 2 }), QUrl(QStringLiteral("http://127.0.0.1:9/t/3-2-1?k=1")));
    EXPECT_FALSE(PlaceEndpoints::tileUrl(QStringLiteral("off")));
    EXPECT_FALSE(TileUrlTemplate::parse(QStringLiteral("https://tiles.example.org/{z}/{x}.png")));
    EXPECT_FALSE(TileUrlTemplate::parse(QStringLiteral("file:///tmp/{z}/{x}/{y}.png")));
}
