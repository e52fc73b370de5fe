// The grain tile must be byte-for-byte the same everywhere: these figures pin
// the generator (seed, draw order, bounded and unit draws, wrapping fibres).
#include "core/theme/PaperGrain.h"
#include "core/theme/SplitMix64.h"

#include <gtest/gtest.h>

using namespace quillery;

namespace {

struct AlphaFigures {
    int nonZero = 0;
    qint64 sum = 0;
    int max = 0;
};

AlphaFigures alphaFigures(const QImage &image)
{
    AlphaFigures figures;
    for (int y = 0; y < image.height(); ++y) {
        const uchar *row = image.constScanLine(y);
        for (int x = 0; x < image.width(); ++x) {
            const int alpha = row[4 * x + 3];
            figures.nonZero += alpha != 0;
            figures.sum += alpha;
            figures.max = std::max(figures.max, alpha);
        }
    }
    return figures;
}

} // namespace

TEST(PaperGrain, generatorStartsFromTheFixedSeed)
{
    SplitMix64 random(0xB00C);
    EXPECT_EQ(random.next(), 0xc7a14d0aba71152eull);
    EXPECT_EQ(random.next(), 0x7b42c87f14f37311ull);
    EXPECT_EQ(random.next(), 0x67c7a610ebff4d45ull);
}

TEST(PaperGrain, boundedAndUnitDrawsStayInRange)
{
    SplitMix64 random(42);
    int seen[3] = {};
    for (int i = 0; i < 3000; ++i) {
        const auto value = random.below(3);
        ASSERT_LT(value, 3u);
        ++seen[value];
        const double u = random.unit();
        ASSERT_GE(u, 0.0);
        ASSERT_LE(u, 1.0);
    }
    for (int count : seen)
        EXPECT_GT(count, 800) << "every value of a small range comes up about equally often";
}

TEST(PaperGrain, lightTileHasTheKnownSpecksAndFibres)
{
    const QImage tile = PaperGrain::generate(ColorScheme::Light);
    ASSERT_EQ(tile.size(), QSize(320, 320));
    ASSERT_EQ(tile.format(), QImage::Format_RGBA8888_Premultiplied);
    const AlphaFigures figures = alphaFigures(tile);
    EXPECT_EQ(figures.nonZero, 63738);
    EXPECT_EQ(figures.sum, 501597);
    EXPECT_EQ(figures.max, 103);
    const uchar *first = tile.constScanLine(0);
    EXPECT_EQ(first[0], 0);
    EXPECT_EQ(first[1], 0);
    EXPECT_EQ(first[2], 0);
    EXPECT_EQ(first[3], 9);
}

TEST(PaperGrain, darkTileIsTheSamePatternInLightSpecks)
{
    const QImage light = PaperGrain::generate(ColorScheme::Light);
    const QImage dark = PaperGrain::generate(ColorScheme::Dark);
    for (int y = 0; y < 320; ++y) {
        const uchar *l = light.constScanLine(y);
        const uchar *d = dark.constScanLine(y);
        for (int x = 0; x < 320; ++x) {
            const int alpha = d[4 * x + 3];
            ASSERT_EQ(alpha, l[4 * x + 3]) << x << "," << y;
            // Premultiplied white: every channel equals the alpha.
            ASSERT_EQ(d[4 * x], alpha);
            ASSERT_EQ(d[4 * x + 1], alpha);
            ASSERT_EQ(d[4 * x + 2], alpha);
            ASSERT_EQ(l[4 * x], 0);
        }
    }
}

TEST(PaperGrain, eachSchemesTileIsMadeOnce)
{
    const QImage &first = PaperGrain::image(ColorScheme::Dark);
    const QImage &again = PaperGrain::image(ColorScheme::Dark);
    EXPECT_EQ(&first, &again);
    EXPECT_EQ(first.cacheKey(), again.cacheKey());
    EXPECT_NE(&PaperGrain::image(ColorScheme::Light), &first);
}
