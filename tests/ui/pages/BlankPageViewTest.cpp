#include "ui/pages/BlankPageView.h"
#include "core/theme/Appearance.h"
#include "core/theme/Palette.h"
#include "support/PageTestKit.h"

#include <gtest/gtest.h>

using namespace quillery;
using namespace quillery::ui;

TEST(BlankPageView, showsTheColourDotAndTheNumberWhereALivePageHasThem)
{
    Appearance appearance;
    appearance.setForcedScheme(ColorScheme::Light);
    BlankPageView blank(7, 11, appearance);
    blank.resize(600, 834);
    EXPECT_EQ(blank.dotRect(), QRectF(600 - 28 - 26, 25, 26, 26));
    EXPECT_DOUBLE_EQ(blank.numberRect().bottom(), 834 - 22);

    blank.setInsets(PageInsets { 30, 0, 0, 12 });
    EXPECT_EQ(blank.dotRect(), QRectF(600 - 12 - 28 - 26, 55, 26, 26));

    const QImage face = blank.grab().toImage();
    const QPoint centre = blank.dotRect().center().toPoint();
    EXPECT_EQ(face.pixelColor(centre).rgb(), paletteColor(11).rgb()) << "index 11 is Ocean";
}
