// Reading a geocoder's answer: what a user is shown and what is dropped.
// Random and damaged answers are left to the parser's fuzz target.
#include "core/places/PhotonParser.h"
#include "core/places/PlaceRules.h"
#include "core/places/PlaceText.h"
#include "support/TestEnvironment.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace quillery;

namespace {

// A geocoder's answer as it comes: a city, an address and a point of interest.
const QByteArray &sampleAnswer()
{
    static const QByteArray answer = [] {
        QFile file(quillery::test::testDataPath(QStringLiteral("photon-answer.json")));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }();
    return answer;
}

QByteArray featureCollection(const QByteArrayList &features)
{
    return "{\"type\":\"FeatureCollection\",\"features\":[" + features.join(',') + "]}";
}

QByteArray feature(const QByteArray &coordinates, const QByteArray &properties)
{
    return "{\"type\":\"Feature\",\"geometry\":{\"type\":\"Point\",\"coordinates\":" + coordinates
        + "},\"properties\":" + properties + "}";
}

} // namespace

TEST(PhotonParser, readsTitlesSubtitlesAndItems)
{
    const auto parsed = PhotonParser::parse(sampleAnswer());
    ASSERT_TRUE(parsed);
    ASSERT_EQ(parsed->size(), 3);

    const PlaceSuggestion &city = parsed->at(0);
    EXPECT_EQ(city.title, QStringLiteral("Berlin"));
    EXPECT_EQ(city.subtitle, QStringLiteral("Deutschland"));
    EXPECT_EQ(city.source, PlaceSources::Online);
    ASSERT_TRUE(city.item);
    EXPECT_EQ(city.item->latitude, 52.5170365); // GeoJSON gives longitude first
    EXPECT_EQ(city.item->longitude, 13.3888599);

    // An address without a name is titled by its street line.
    const PlaceSuggestion &house = parsed->at(1);
    EXPECT_EQ(house.title, QStringLiteral("12 High Street"));
    EXPECT_EQ(house.subtitle, QStringLiteral("Springfield, Illinois, United States"));
    EXPECT_TRUE(house.item->name.isEmpty());
    EXPECT_EQ(PlaceRules::placeFromItem(*house.item, house),
        Place({ "12 High Street", "12 High Street, Springfield", 39.7817, -89.6501 }));

    const PlaceSuggestion &poi = parsed->at(2);
    EXPECT_EQ(poi.title, QStringLiteral("Berliner Dom"));
    EXPECT_EQ(poi.subtitle, QStringLiteral("Am Lustgarten, Berlin, Deutschland"));
    EXPECT_EQ(PlaceRules::placeFromItem(*poi.item, poi).address, QStringLiteral("Am Lustgarten, Berlin"));
}

TEST(PhotonParser, dropsFeaturesThatCannotBeShownOnAMap)
{
    const QByteArray named = "{\"name\":\"X\"}";
    const auto parsed = PhotonParser::parse(featureCollection({
        feature("[13.4, 52.5]", "{\"name\":\"Kept\"}"),
        feature("[13.4, 91]", named),
        feature("[-180.5, 10]", named),
        feature("[1e300, 10]", named),
        feature("[\"13.4\", \"52.5\"]", named),
        feature("[13.4]", named),
        feature("{}", named),
        feature("[13.4, 52.5]", "{}"), // nothing to call it
        feature("[13.4, 52.5]", "{\"name\": 42, \"city\": [\"a\"]}"),
        "\"not a feature\"",
        "null",
        feature("[180, -90]", "{\"name\":\"Edge\"}"),
    }));
    ASSERT_TRUE(parsed);
    QStringList titles;
    for (const PlaceSuggestion &s : *parsed) {
        titles.append(s.title);
        EXPECT_TRUE(PlaceRules::isValidCoordinate(s.item->latitude, s.item->longitude));
    }
    EXPECT_EQ(titles, QStringList({ "Kept", "Edge" }));
}

TEST(PhotonParser, networkTextStaysPlainOneLineText)
{
    const auto parsed = PhotonParser::parse(featureCollection({
        feature("[0, 0]",
            "{\"name\":\"<img src=x onerror=alert(1)><b>Café</b>\\n\\u202Eevil\","
            "\"street\":\"Rue\\u0000 de\\tla  Paix\",\"housenumber\":7}"),
        feature("[0, 0]", "{\"name\":\"" + QByteArray(4 * 1024 * 1024, 'a') + "\"}"),
    }));
    ASSERT_TRUE(parsed);
    ASSERT_EQ(parsed->size(), 2);
    EXPECT_EQ(parsed->at(0).title, QStringLiteral("<img src=x onerror=alert(1)><b>Café</b> evil"));
    EXPECT_EQ(parsed->at(0).item->street, QStringLiteral("Rue de la Paix"));
    EXPECT_EQ(parsed->at(0).item->houseNumber, QStringLiteral("7"));
    EXPECT_EQ(parsed->at(1).title.size(), PlaceText::MaxLength);
}

TEST(PhotonParser, refusesAnswersOfTheWrongShape)
{
    for (const QByteArray &answer : { QByteArray(), QByteArray("null"), QByteArray("[]"), QByteArray("{}"),
             QByteArray("{\"features\": {}}"), QByteArray("<html>502</html>"), QByteArray("{\"features\": ["),
             // Nesting deep enough to exhaust a recursive reader.
             "{\"features\":" + QByteArray(20000, '[') + QByteArray(20000, ']') + "}" }) {
        EXPECT_FALSE(PhotonParser::parse(answer)) << answer.constData();
    }
    const auto empty = PhotonParser::parse("{\"features\": []}");
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->isEmpty());
}

TEST(PhotonParser, readsAtMostSoManyFeatures)
{
    QByteArrayList features;
    for (int i = 0; i < 8000; ++i)
        features.append(feature("[1, 2]", "{\"name\":\"n\"}"));
    EXPECT_EQ(PhotonParser::parse(featureCollection(features))->size(), PhotonParser::MaxFeatures);
}
