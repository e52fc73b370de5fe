// Feeds the geocoder answer parser thousands of random and damaged answers.
// It must never crash (the sanitizer build runs this too), and whatever it
// accepts must still keep its promises.

#include "PhotonSamples.h"
#include "core/places/PhotonParser.h"
#include "core/places/PlaceRules.h"
#include "core/places/PlaceText.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

#include <random>

using namespace quillery;

namespace {

// Pieces that tend to reach the parser's corners, separated by spaces.
const QByteArrayList Tokens = QByteArray(
    "{ } [ ] , : \" null true false -0 1e400 -1e400 NaN Infinity \"features\" \"geometry\" \"coordinates\" "
    "\"properties\" \"name\" \"street\" \"housenumber\" \"city\" [13.4,52.5] [999,999] \"\\u0000\" "
    "\"\\ud800\" \"\\u202e\" \"<b>x</b>\" 123456789012345678901234567890 \xff\xfe \xc3 \xf0\x9f\x98")
                                  .split(' ');

QByteArray mutate(QByteArray data, std::mt19937 &random)
{
    std::uniform_int_distribution<int> action(0, 5);
    const int edits = 1 + int(random() % 3);
    for (int i = 0; i < edits; ++i) {
        const auto at = [&] { return data.isEmpty() ? 0 : qsizetype(random() % quint32(data.size())); };
        switch (action(random)) {
        case 0: // flip a bit
            if (!data.isEmpty()) {
                const qsizetype i = at();
                data[i] = char(data[i] ^ (1 << (random() % 8)));
            }
            break;
        case 1: // cut short
            data.truncate(at());
            break;
        case 2: // drop a stretch
            data.remove(at(), qsizetype(random() % 16));
            break;
        case 3: // insert a token
            data.insert(at(), Tokens.at(qsizetype(random() % quint32(Tokens.size()))));
            break;
        case 4: // repeat a stretch
        {
            const qsizetype from = at();
            data.insert(at(), data.mid(from, qsizetype(random() % 64)));
            break;
        }
        default: // a random byte
            data.insert(at(), char(random() % 256));
            break;
        }
    }
    return data;
}

QByteArray randomBytes(std::mt19937 &random)
{
    QByteArray data(qsizetype(random() % 512), Qt::Uninitialized);
    for (char &c : data)
        c = char(random() % 256);
    return data;
}

QByteArray tokenSoup(std::mt19937 &random)
{
    QByteArray data;
    const int count = int(random() % 64);
    for (int i = 0; i < count; ++i)
        data += Tokens.at(qsizetype(random() % quint32(Tokens.size())));
    return data;
}

QJsonValue randomValue(std::mt19937 &random, int depth = 0)
{
    switch (random() % (depth > 2 ? 5 : 7)) {
    case 0:
        return QJsonValue();
    case 1:
        return bool(random() % 2);
    case 2: {
        // Mostly plausible coordinates, sometimes far off the globe.
        const double scale = random() % 4 == 0 ? 1e6 : 200;
        return (double(random()) / double(std::mt19937::max()) - 0.5) * 2 * scale;
    }
    case 3:
    case 4: {
        QString text;
        const int length = int(random() % 40);
        for (int i = 0; i < length; ++i) {
            // Any code point, controls, marks and surrogate halves included.
            const char32_t c = random() % 3 == 0 ? char32_t(random() % 0x110000) : char32_t(random() % 0x300);
            if (QChar::requiresSurrogates(c))
                text += QString::fromUcs4(&c, 1);
            else
                text += QChar(char16_t(c));
        }
        return text;
    }
    case 5: {
        QJsonArray array;
        const int count = int(random() % 4);
        for (int i = 0; i < count; ++i)
            array.append(randomValue(random, depth + 1));
        return array;
    }
    default: {
        QJsonObject object;
        const int count = int(random() % 4);
        for (int i = 0; i < count; ++i)
            object.insert(QString::number(i), randomValue(random, depth + 1));
        return object;
    }
    }
}

// Well-formed JSON of the right outline with random contents.
QByteArray randomFeatures(std::mt19937 &random)
{
    const QStringList keys = { "name", "street", "housenumber", "city", "state", "country", "postcode" };
    QJsonArray features;
    const int count = int(random() % 12);
    for (int i = 0; i < count; ++i) {
        QJsonObject properties;
        for (const QString &key : keys) {
            if (random() % 2)
                properties.insert(key, randomValue(random));
        }
        QJsonArray coordinates;
        const int dimensions = int(random() % 4);
        for (int d = 0; d < dimensions; ++d)
            coordinates.append(random() % 6 == 0 ? randomValue(random) : QJsonValue(randomValue(random, 3).toDouble()));
        QJsonObject geometry { { "type", "Point" }, { "coordinates", coordinates } };
        QJsonObject feature { { "type", "Feature" }, { "properties", properties } };
        feature.insert(QStringLiteral("geometry"), random() % 8 == 0 ? randomValue(random) : QJsonValue(geometry));
        features.append(random() % 10 == 0 ? randomValue(random) : QJsonValue(feature));
    }
    return QJsonDocument(QJsonObject { { "features", features } }).toJson(QJsonDocument::Compact);
}

QByteArray deepNesting(std::mt19937 &random)
{
    const qsizetype depth = 1 + qsizetype(random() % 20000);
    return "{\"features\":" + QByteArray(depth, '[') + QByteArray(depth, ']') + "}";
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

TEST(PhotonParserFuzz, survivesRandomAndDamagedAnswers)
{
    std::mt19937 random(20240607); // fixed: a failure can be replayed
    int accepted = 0;
    for (int round = 0; round < 6000; ++round) {
        QByteArray input;
        switch (round % 5) {
        case 0:
            input = mutate(quillery::test::PhotonAnswer, random);
            break;
        case 1:
            input = randomBytes(random);
            break;
        case 2:
            input = round % 50 == 2 ? deepNesting(random) : tokenSoup(random);
            break;
        case 3:
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

TEST(PhotonParserFuzz, survivesHugeAnswers)
{
    // A megabyte of features, and one enormous string.
    QByteArray features;
    for (int i = 0; i < 8000; ++i)
        features += "{\"geometry\":{\"coordinates\":[1,2]},\"properties\":{\"name\":\"n\"}},";
    features.chop(1);
    expectPromisesKept("{\"features\":[" + features + "]}");
    expectPromisesKept("{\"features\":[{\"geometry\":{\"coordinates\":[1,2]},\"properties\":{\"name\":\""
        + QByteArray(4 * 1024 * 1024, 'x') + "\"}}]}");
}
