#include "core/places/PlaceEndpoints.h"
#include "core/places/TileUrlTemplate.h"

#include <gtest/gtest.h>

using namespace quillery;

TEST(PlaceEndpoints, searchUrlDefaultsToThePublicServerAndCanBeSwitchedOff)
{
    EXPECT_EQ(PlaceEndpoints::searchUrl(std::nullopt), QUrl(PlaceEndpoints::defaultSearchUrl()));
    EXPECT_EQ(PlaceEndpoints::searchUrl(QStringLiteral(" http://127.0.0.1:8080/api ")),
        QUrl(QStringLiteral("http://127.0.0.1:8080/api")));
    for (const QString &off : { QString(), QStringLiteral("off"), QStringLiteral(" OFF "), QStringLiteral("  ") })
        EXPECT_FALSE(PlaceEndpoints::searchUrl(off)) << off.toStdString();
    for (const QString &bad : { QStringLiteral("file:///etc/passwd"), QStringLiteral("ftp://example.org/api"),
             QStringLiteral("not a url"), QStringLiteral("http://") })
        EXPECT_FALSE(PlaceEndpoints::searchUrl(bad)) << bad.toStdString();
}

TEST(PlaceEndpoints, tileUrlNeedsAllThreeCoordinates)
{
    const auto standard = PlaceEndpoints::tileUrl(std::nullopt);
    ASSERT_TRUE(standard);
    EXPECT_EQ(
        standard->url({ 15, 17602, 10746 }), QUrl(QStringLiteral("https://tile.openstreetmap.org/15/17602/10746.png")));

    const auto local = PlaceEndpoints::tileUrl(QStringLiteral("http://127.0.0.1:9/t/{z}-{y}-{x}?k=1"));
    ASSERT_TRUE(local);
    EXPECT_EQ(local->url({ 3, 1, 2 }), QUrl(QStringLiteral("http://127.0.0.1:9/t/3-2-1?k=1")));

    EXPECT_FALSE(PlaceEndpoints::tileUrl(QStringLiteral("off")));
    EXPECT_FALSE(PlaceEndpoints::tileUrl(QString()));
    EXPECT_FALSE(TileUrlTemplate::parse(QStringLiteral("https://tiles.example.org/{z}/{x}.png")));
    EXPECT_FALSE(TileUrlTemplate::parse(QStringLiteral("file:///tmp/{z}/{x}/{y}.png")));
    EXPECT_FALSE(TileUrlTemplate::parse(QStringLiteral("{z}/{x}/{y}")));
}
