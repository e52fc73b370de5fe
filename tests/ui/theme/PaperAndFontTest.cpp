#include "core/theme/AppFont.h"
#include "core/theme/Palette.h"
#include "core/theme/PaperGrain.h"
#include "core/theme/ThemeColors.h"
#include "ui/theme/PaperBackground.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QPainter>
#include <gtest/gtest.h>

using namespace quillery;
using namespace quillery::ui;

namespace {

QColor average(const QImage &image)
{
    double r = 0, g = 0, b = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            r += c.red();
            g += c.green();
            b += c.blue();
        }
    const double n = double(image.width()) * image.height();
    return QColor(qRound(r / n), qRound(g / n), qRound(b / n));
}

QImage paper(int colorIndex, ColorScheme scheme, qreal ratio = 1.0)
{
    QImage image(QSize(320, 320) * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    QPainter painter(&image);
    PaperBackground::paint(painter, QRectF(0, 0, 320, 320), colorIndex, scheme);
    return image;
}

} // namespace

TEST(PaperBackground, grainTileCoversHalfItsPixelsInPoints)
{
    const QPixmap one = PaperBackground::grainTile(ColorScheme::Light, 1.0);
    EXPECT_EQ(one.size(), QSize(160, 160));
    EXPECT_EQ(one.deviceIndependentSize(), QSizeF(160, 160));
    const QPixmap two = PaperBackground::grainTile(ColorScheme::Light, 2.0);
    EXPECT_EQ(two.size(), QSize(320, 320)) << "on a doubled screen every grain pixel shows";
    EXPECT_EQ(two.deviceIndependentSize(), QSizeF(160, 160));
    EXPECT_EQ(PaperBackground::grainTile(ColorScheme::Light, 1.0).cacheKey(), one.cacheKey()) << "made once";
}

TEST(PaperBackground, tintedPaperWithGrainInBothSchemes)
{
    // How much of the page the grain covers, on average.
    const QImage &tile = PaperGrain::image(ColorScheme::Light);
    double alphaSum = 0;
    for (int y = 0; y < tile.height(); ++y)
        for (int x = 0; x < tile.width(); ++x)
            alphaSum += tile.constScanLine(y)[4 * x + 3];
    const double grain = alphaSum / (tile.width() * tile.height() * 255.0);
    ASSERT_GT(grain, 0.01);

    // Paper, then the palette colour at the scheme's tint, then the grain:
    // dark specks on light paper, light specks on dark paper.
    const auto expected = [grain](int paper, int tint, double amount, int speck) {
        return (paper + (tint - paper) * amount) * (1 - grain) + speck * grain;
    };
    const QColor ocean = paletteColor(4);
    const QColor light = average(paper(4, ColorScheme::Light));
    EXPECT_NEAR(light.red(), expected(255, ocean.red(), 0.15, 0), 1.5);
    EXPECT_NEAR(light.blue(), expected(255, ocean.blue(), 0.15, 0), 1.5);
    const QColor dark = average(paper(4, ColorScheme::Dark));
    EXPECT_NEAR(dark.red(), expected(31, ocean.red(), 0.18, 255), 1.5);
    EXPECT_NEAR(dark.blue(), expected(33, ocean.blue(), 0.18, 255), 1.5);

    // Slate is plain paper.
    const QColor slate = average(paper(13, ColorScheme::Light));
    EXPECT_EQ(slate.red(), slate.blue());
    EXPECT_NEAR(slate.red(), expected(255, 255, 0, 0), 1.5);

    // The same grain at both densities: a doubled screen draws it finer, not
    // differently.
    const QColor fine = average(paper(4, ColorScheme::Light, 2.0));
    EXPECT_NEAR(fine.red(), light.red(), 1);
}

TEST(AppFont, serifOnlyForSerifAndTheSystemFontOtherwise)
{
    const QFont sans = appFont(18, QFont::Normal, QStringLiteral("sans"));
    const QFont serif = appFont(34, QFont::Bold, QStringLiteral("serif"));
    const QFont unknown = appFont(18, QFont::Normal, QStringLiteral("rounded"));
    EXPECT_EQ(unknown.family(), sans.family()) << "unknown values draw in the default face";
    EXPECT_EQ(QFontInfo(sans).family(), QFontInfo(unknown).family());

    const QString serifFace = QFontInfo(serif).family();
    EXPECT_NE(serifFace, QFontInfo(sans).family());
    EXPECT_TRUE(serifFace.contains(QStringLiteral("Serif"), Qt::CaseInsensitive)) << serifFace.toStdString();
    EXPECT_EQ(serif.pixelSize(), 34) << "one point is one pixel of the layout";
    EXPECT_EQ(serif.weight(), QFont::Bold);
}
