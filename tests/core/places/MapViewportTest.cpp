#include "core/places/MapViewport.h"
#include "core/places/PlaceRules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

using namespace quillery;

namespace {

// The region the view covers, measured on the ground across its shorter side.
double shortSideMeters(const MapViewport &viewport, double latitude, const QSizeF &view)
{
    return MapViewport::metersPerPixel(latitude, viewport.zoom()) / viewport.scale()
        * std::min(view.width(), view.height());
}

} // namespace

TEST(MapViewport, centresTheRegionOnThePlaceAndFitsItsSpan)
{
    const QSizeF view(392, 130);
    for (const auto &[latitude, longitude] :
        { std::pair { 52.52437, 13.41053 }, { -33.8688, 151.2093 }, { 0.0, 0.0 }, { 64.1466, -21.9426 } }) {
        const auto viewport = MapViewport::fit(latitude, longitude, 700, view, 1.0, 19);
        ASSERT_TRUE(viewport);
        const QPointF centre = viewport->project(latitude, longitude);
        EXPECT_NEAR(centre.x(), 196, 1e-6);
        EXPECT_NEAR(centre.y(), 65, 1e-6);
        EXPECT_NEAR(shortSideMeters(*viewport, latitude, view), 700, 1);
        // The zoom is the nearest to the detail needed: scaling stays mild.
        EXPECT_GT(viewport->scale(), 0.7);
        EXPECT_LT(viewport->scale(), 1.42);
    }
}

TEST(MapViewport, tilesCoverTheWholeViewWithoutGapsAndNeverDeeperThanTheServerGoes)
{
    const QSizeF view(392, 130);
    const auto viewport = MapViewport::fit(52.52437, 13.41053, 700, view, 1.0, 19);
    ASSERT_TRUE(viewport);
    // A sharper screen takes deeper tiles, down to the server's deepest
    // level; beyond it the tiles are enlarged.
    EXPECT_EQ(MapViewport::fit(52.52437, 13.41053, 700, view, 2.0, 19)->zoom(), viewport->zoom() + 1);
    const auto capped = MapViewport::fit(52.52437, 13.41053, 700, view, 2.0, 12);
    ASSERT_TRUE(capped);
    EXPECT_EQ(capped->zoom(), 12);
    EXPECT_NEAR(shortSideMeters(*capped, 52.52437, view), 700, 1);
    QList<QRect> covered;
    for (const MapViewport::Placement &placement : viewport->placements()) {
        covered << placement.target.toAlignedRect();
        EXPECT_EQ(placement.tile.z, viewport->zoom());
    }
    int uncovered = 0; // pixels of the view under no tile
    for (int y = 0; y < 130; ++y) {
        for (int x = 0; x < 392; ++x)
            uncovered
                += std::none_of(covered.cbegin(), covered.cend(), [&](const QRect &r) { return r.contains(x, y); });
    }
    EXPECT_EQ(uncovered, 0);
    EXPECT_LE(viewport->placements().size(), 6);
}

TEST(MapViewport, wrapsAroundTheAntimeridianAndStopsAtThePoles)
{
    const auto dateLine = MapViewport::fit(-16.5, 179.999, 700, QSizeF(392, 130), 1.0, 19);
    ASSERT_TRUE(dateLine);
    const int count = 1 << dateLine->zoom();
    bool east = false;
    bool west = false;
    for (const MapViewport::Placement &placement : dateLine->placements()) {
        ASSERT_GE(placement.tile.x, 0);
        ASSERT_LT(placement.tile.x, count);
        east = east || placement.tile.x == count - 1;
        west = west || placement.tile.x == 0;
    }
    EXPECT_TRUE(east && west);

    for (const double latitude : { 90.0, -90.0, 89.9999 }) {
        const auto pole = MapViewport::fit(latitude, 0, 700, QSizeF(392, 130), 1.0, 19);
        ASSERT_TRUE(pole);
        for (const MapViewport::Placement &placement : pole->placements()) {
            EXPECT_GE(placement.tile.y, 0);
            EXPECT_LT(placement.tile.y, 1 << pole->zoom());
        }
    }
}

TEST(MapViewport, refusesWhatCannotBeDrawn)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_FALSE(MapViewport::fit(nan, 0, 700, QSizeF(392, 130), 1.0, 19));
    EXPECT_FALSE(MapViewport::fit(0, inf, 700, QSizeF(392, 130), 1.0, 19));
    EXPECT_FALSE(MapViewport::fit(95, 0, 700, QSizeF(392, 130), 1.0, 19));
    EXPECT_FALSE(MapViewport::fit(0, 0, 0, QSizeF(392, 130), 1.0, 19));
    EXPECT_FALSE(MapViewport::fit(0, 0, 700, QSizeF(0, 130), 1.0, 19));
    EXPECT_FALSE(MapViewport::fit(0, 0, 700, QSizeF(392, nan), 1.0, 19));
    // A nonsense pixel ratio falls back to 1 rather than failing.
    EXPECT_TRUE(MapViewport::fit(0, 0, 700, QSizeF(392, 130), nan, 19));
}
