// Reading a geocoder's answer: what a user is shown, what is dropped, and
// thousands of random and damaged answers that must never crash the parser
// (the sanitizer build runs this too) nor break its promises.
#include "core/places/PhotonParser.h"
#include "core/places/PlaceRules.h"
#include "core/places/PlaceText.h"
#include "support/TestEnvironment.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

#include <random>

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

// Pieces that tend to reach the parser's corners, separated by spaces.
const QByteArrayList Tokens = QByteArray(
    "{ } [ ] , : \" null true false -0 1e400 -1e400 NaN Infinity \"features\" \"geometry\" \"coordinates\" "
    "\"properties\" \"name\" \"street\" \"housenumber\" \"city\" [13.4,52.5] [999,999] \"\\u0000\" "
    "\"\\ud800\" \"\\u202e\" \"<b>x</b>\" 123456789012345678901234567890 \xff\xfe \xc3 \xf0\x9f\x98")
                                  .split(' ');

QByteArray mutate(QByteArray data, std::mt19937 &random)
{
    const int edits = 1 + int(random() % 3);
    for (int i = 0; i < edits; ++i) {
        const qsizetype at = data.isEmpty() ? 0 : qsizetype(random() % quint32(data.size()));
        switch (random() % 5) {
        case 0: // flip a bit
            if (!data.isEmpty())
                data[at] = char(data[at] ^ (1 << (random() % 8)));
            break;
        case 1: // cut short
            data.truncate(at);
            break;
        case 2: // drop a stretch
            data.remove(at, qsizetype(random() % 16));
            break;
        case 3: // insert a token
            data.insert(at, Tokens.at(qsizetype(random() % quint32(Tokens.size()))));
            break;
        default: // repeat a stretch
            data.insert(at, data.mid(qsizetype(random() % quint32(data.size() + 1)), qsizetype(random() % 64)));
        }
    }
    return data;
}

// Any code point, controls, marks and surrogate halves included.
QString randomText(std::mt19937 &random)
{
    QString text;
    for (int i = int(random() % 40); i > 0; --i) {
        const char32_t c = random() % 3 == 0 ? char32_t(random() % 0x110000) : char32_t(random() % 0x300);
        text += QChar::requiresSurrogates(c) ? QString::fromUcs4(&c, 1) : QString(QChar(char16_t(c)));
    }
    return text;
}

// Mostly plausible coordinates, sometimes far off the globe or not numbers.
QJsonValue randomCoordinate(std::mt19937 &random)
{
    switch (random() % 6) {
    case 0:
        return randomText(random);
    case 1:
        return QJsonValue();
    default:
        return (double(random()) / double(std::mt19937::max()) - 0.5) * (random() % 4 == 0 ? 2e6 : 400);
    }
}

// Well-formed JSON of the right outline with random contents.
QByteArray randomFeatures(std::mt19937 &random)
{
    const QStringList keys = { "name", "street", "housenumber", "city", "state", "country", "postcode" };
    QJsonArray features;
    for (int i = int(random() % 12); i > 0; --i) {
        QJsonObject properties;
        for (const QString &key : keys) {
            if (random() % 2)
                properties.insert(
                    key, random() % 5 == 0 ? QJsonValue(double(random())) : QJsonValue(randomText(random)));
        }
        QJsonArray coordinates;
        for (int d = int(random() % 4); d > 0; --d)
            coordinates.append(randomCoordinate(random));
        features.append(QJsonObject { { "properties", properties },
            { "geometry",
                random() % 8 == 0 ? randomCoordinate(random) : QJsonObject { { "coordinates", coordinates } } } });
    }
    return QJsonDocument(QJsonObject { { "features", features } }).toJson(QJsonDocument::Compact);
}

void expectPromisesKept(const QByteArray &input)
{
    const auto parsed = PhotonParser::parse(input);
    if (!parsed)
        return;
    ASSERT_LE(parsed->size(), PhotonParser::MaxFeatures);
    for (const PlaceSuggestion &s : *parsed) {
        ASSERT_TRUE(s.item);
        ASSERT_TRUE(PlaceRules::isValidCoordinate(s.item->latitude, s.item->longitude));
        ASSERT_FALSE(s.title.isEmpty());
        for (const QString *text : { &s.title, &s.subtitle, &s.item->name, &s.item->street, &s.item->locality }) {
            ASSERT_LE(text->size(), PlaceText::MaxLength);
            ASSERT_EQ(PlaceText::clean(*text), *text) << "text must already be clean";
        }
    }
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
        feature("[0, 0]", "{\"name\":\"" + QByteArray(5000, 'a') + "\"}"),
    }));
    ASSERT_TRUE(parsed);
    ASSERT_EQ(parsed->size(), 2);
    EXPECT_EQ(parsed->at(0).title, QStringLiteral("<img src=x onerror=alert(1)><b>Café</b> evil"));
    EXPECT_EQ(parsed->at(0).item->street, QStringLiteral("Rue de la Paix"));
    EXPECT_EQ(parsed->at(0).item->houseNumber, QStringLiteral("7"));
    EXPECT_EQ(parsed->at(1).title.size(), 200);
}

TEST(PhotonParser, refusesAnswersOfTheWrongShape)
{
    for (const QByteArray &answer : { QByteArray(), QByteArray("null"), QByteArray("[]"), QByteArray("{}"),
             QByteArray("{\"features\": {}}"), QByteArray("<html>502</html>"), QByteArray("{\"features\": [") }) {
        EXPECT_FALSE(PhotonParser::parse(answer)) << answer.constData();
    }
    const auto empty = PhotonParser::parse("{\"features\": []}");
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->isEmpty());
}

TEST(PhotonParserFuzz, survivesRandomAndDamagedAnswers)
{
    std::mt19937 random(20240607); // fixed: a failure can be replayed
    int accepted = 0;
    for (int round = 0; round < 6000; ++round) {
        QByteArray input;
        switch (round % 4) {
        case 0:
            input = mutate(sampleAnswer(), random);
            break;
        case 1: // random bytes, or nesting deep enough to exhaust a recursive reader
            if (round % 40 == 1) {
                const qsizetype depth = 1 + qsizetype(random() % 20000);
                input = "{\"features\":" + QByteArray(depth, '[') + QByteArray(depth, ']') + "}";
                break;
            }
            input.resize(qsizetype(random() % 512));
            for (char &c : input)
                c = char(random() % 256);
            break;
        case 2:
            input = randomFeatures(random);
            break;
        default:
            input = mutate(randomFeatures(random), random);
        }
        expectPromisesKept(input);
        if (HasFatalFailure()) {
            ADD_FAILURE() << "round " << round << ": " << input.toHex().constData();
            return;
        }
        accepted += PhotonParser::parse(input).has_value() ? 1 : 0;
    }
    // The mutations must not all be rejected outright, or the feature code
    // was never reached.
    EXPECT_GT(accepted, 1200);
}

TEST(PhotonParserFuzz, survivesHugeAnswersAndReadsAtMostSoManyFeatures)
{
    // A megabyte of features, and one enormous string.
    QByteArray features;
    for (int i = 0; i < 8000; ++i)
        features += "{\"geometry\":{\"coordinates\":[1,2]},\"properties\":{\"name\":\"n\"}},";
    features.chop(1);
    const QByteArray many = "{\"features\":[" + features + "]}";
    expectPromisesKept(many);
    EXPECT_EQ(PhotonParser::parse(many)->size(), PhotonParser::MaxFeatures);
    expectPromisesKept("{\"features\":[{\"geometry\":{\"coordinates\":[1,2]},\"properties\":{\"name\":\""
        + QByteArray(4 * 1024 * 1024, 'x') + "\"}}]}");
}
