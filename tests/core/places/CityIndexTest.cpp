#include "core/places/CityIndex.h"

#include <gtest/gtest.h>

using namespace quillery;

namespace {

CityIndex sampleIndex()
{
    return CityIndex({
        { "Bad Berleburg", "North Rhine-Westphalia", "Germany", 51.05224, 8.39227, 20757 },
        { "Berlin", "Berlin", "Germany", 52.52437, 13.41053, 3426354 },
        { "New Berlin", "Wisconsin", "United States", 42.9764, -88.10842, 39825 },
        { "Bernau bei Berlin", "Brandenburg", "Germany", 52.67982, 13.58708, 34866 },
        { "Paris", "Île-de-France", "France", 48.85341, 2.3488, 2138551 },
        { "Paris", "Texas", "United States", 33.66094, -95.55551, 24782 },
        { "São Paulo", "São Paulo", "Brazil", -23.5475, -46.63611, 10021295 },
        { "Zürich", "Zurich", "Switzerland", 47.36667, 8.55, 341730 },
        { "Sankt Gallen", "", "Switzerland", 47.42391, 9.37477, 70572 },
    });
}

QStringList titles(const CityIndex &index, const QString &query, qsizetype limit = 20)
{
    QStringList result;
    for (const qsizetype i : index.find(query, limit))
        result.append(index.city(i).name + u'/' + index.city(i).region);
    return result;
}

} // namespace

TEST(CityIndex, findsWordPrefixesMostPopulousFirst)
{
    const CityIndex index = sampleIndex();
    EXPECT_EQ(titles(index, QStringLiteral("Berl")),
        QStringList({ "Berlin/Berlin", "New Berlin/Wisconsin", "Bernau bei Berlin/Brandenburg",
            "Bad Berleburg/North Rhine-Westphalia" }));
    EXPECT_EQ(titles(index, QStringLiteral("Berl"), 2), QStringList({ "Berlin/Berlin", "New Berlin/Wisconsin" }));
    // A prefix of a word, not a piece from its middle.
    EXPECT_TRUE(titles(index, QStringLiteral("erlin")).isEmpty());
}

TEST(CityIndex, furtherWordsNarrowByNameRegionOrCountry)
{
    const CityIndex index = sampleIndex();
    EXPECT_EQ(titles(index, QStringLiteral("paris tex")), QStringList({ "Paris/Texas" }));
    EXPECT_EQ(titles(index, QStringLiteral("Paris, France")), QStringList({ "Paris/Île-de-France" }));
    EXPECT_EQ(titles(index, QStringLiteral("new berl")), QStringList({ "New Berlin/Wisconsin" }));
    EXPECT_EQ(titles(index, QStringLiteral("berlin germany")),
        QStringList({ "Berlin/Berlin", "Bernau bei Berlin/Brandenburg" }));
    // The first word names the city: a region alone finds nothing.
    EXPECT_TRUE(titles(index, QStringLiteral("texas")).isEmpty());
}

TEST(CityIndex, ignoresCaseAccentsAndPunctuation)
{
    const CityIndex index = sampleIndex();
    EXPECT_EQ(titles(index, QStringLiteral("sao p")), QStringList({ "São Paulo/São Paulo" }));
    EXPECT_EQ(titles(index, QStringLiteral("ZÜR")), QStringList({ "Zürich/Zurich" }));
    EXPECT_EQ(titles(index, QStringLiteral("zur")), QStringList({ "Zürich/Zurich" }));
    EXPECT_EQ(titles(index, QStringLiteral("  -sankt-  ")), QStringList({ "Sankt Gallen/" }));
    // Without a region the suggestion names the country.
    EXPECT_EQ(CityIndex::suggestion(index.city(index.find(QStringLiteral("sankt"), 1).at(0))).subtitle,
        QStringLiteral("Switzerland"));
    EXPECT_TRUE(titles(index, QStringLiteral(" ,. ")).isEmpty());
    EXPECT_TRUE(titles(index, QString()).isEmpty());
    EXPECT_TRUE(titles(index, QStringLiteral("Berl"), 0).isEmpty());
    EXPECT_TRUE(titles(CityIndex(), QStringLiteral("Berl")).isEmpty());
}
