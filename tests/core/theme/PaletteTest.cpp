#include "core/theme/Palette.h"
#include "core/theme/ThemeColors.h"

#include <gtest/gtest.h>

#include <climits>

using namespace quillery;

TEST(Palette, everyIntegerPicksAColour)
{
    EXPECT_EQ(paletteColor(0), QColor(0xE4, 0x57, 0x2E));
    EXPECT_EQ(paletteColor(7), paletteColor(0)) << "7 wraps to Coral";
    EXPECT_EQ(paletteColor(9), QColor(0xE3, 0xB8, 0x3B)) << "9 wraps to Mustard";
    EXPECT_EQ(paletteColor(8), QColor(0xF2, 0x9E, 0x4C)) << "8 wraps to Amber";
    EXPECT_EQ(paletteColor(-1), QColor(0x8A, 0x8F, 0x98)) << "-1 wraps to Slate";
    EXPECT_EQ(paletteName(-1), QStringLiteral("Slate"));
    EXPECT_EQ(paletteName(13), QStringLiteral("Slate"));
    EXPECT_EQ(paletteName(-8), QStringLiteral("Slate"));
    EXPECT_EQ(paletteName(4), QStringLiteral("Ocean"));
    // The extremes of the stored integer must not overflow.
    EXPECT_EQ(palette::wrap(INT_MIN), ((INT_MIN % 7) + 7) % 7);
    EXPECT_GE(palette::wrap(INT_MIN), 0);
    EXPECT_EQ(palette::wrap(INT_MAX), INT_MAX % 7);
    for (int i = -20; i < 20; ++i) {
        EXPECT_EQ(paletteColor(i).alpha(), 255);
        EXPECT_EQ(isSlate(i), paletteName(i) == QLatin1String("Slate")) << i;
    }
}

TEST(Palette, slatePagesAreNotTintedAndTheTintDeepensInTheDark)
{
    EXPECT_EQ(paperTint(13, ColorScheme::Light).alpha(), 0);
    EXPECT_EQ(paperTint(-8, ColorScheme::Dark).alpha(), 0);
    const QColor light = paperTint(4, ColorScheme::Light);
    const QColor dark = paperTint(4, ColorScheme::Dark);
    EXPECT_NEAR(light.alphaF(), 0.15, 0.003);
    EXPECT_NEAR(dark.alphaF(), 0.18, 0.003);
    EXPECT_EQ(light.rgb(), paletteColor(4).rgb()) << "the palette itself does not change with the scheme";
    EXPECT_EQ(dark.rgb(), paletteColor(4).rgb());
}

TEST(Palette, interfaceColoursSwapWithTheScheme)
{
    for (ThemeColor role : { ThemeColor::Paper, ThemeColor::Ink, ThemeColor::Rule, ThemeColor::Desk })
        EXPECT_NE(themeColor(role, ColorScheme::Light), themeColor(role, ColorScheme::Dark));
    EXPECT_EQ(
        themeColor(ThemeColor::MutedInk, ColorScheme::Light), themeColor(ThemeColor::MutedInk, ColorScheme::Dark));
    EXPECT_EQ(themeColor(ThemeColor::Paper, ColorScheme::Dark), QColor(0x1F, 0x1F, 0x21));
    EXPECT_EQ(themeColor(ThemeColor::Desk, ColorScheme::Light), QColor(0xEE, 0xED, 0xE9));
}
