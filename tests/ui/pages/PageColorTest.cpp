// The page colour: the button, the swatch column and what picking does.
#include "core/model/Page.h"
#include "gui/theme/PaletteColor.h"
#include "support/PageTestKit.h"
#include "ui/pages/ColorDot.h"
#include "ui/pages/PageColorPicker.h"
#include "ui/pages/PageView.h"
#include "ui/pages/SwatchColumn.h"

#include <gtest/gtest.h>

using namespace quillery;
using namespace quillery::ui;
using namespace quillery::test;

TEST(PageColor, swatchesOpenInACascadePickingStoresTheIndexAndAClickElsewhereOnlyCloses)
{
    PageKit kit;
    Page *page = kit.page(QStringLiteral("Colours"), { "Keep me" }, 8);
    PageView view(page, 1, 1, PageActions {}, kit.services(), &kit.editing);
    ASSERT_TRUE(showActive(view));
    ColorDot *button = view.colorPicker()->button();
    EXPECT_EQ(button->color(), paletteColor(1)) << "index 8 wraps to Amber";
    EXPECT_EQ(view.accentColor(), paletteColor(1));

    QTest::mouseClick(button, Qt::LeftButton);
    ASSERT_TRUE(view.colorsShown());
    // The cascade: early on, the top swatch is further along than the last.
    const QList<ColorDot *> swatches = view.colorPicker()->column()->swatches();
    ASSERT_TRUE(QTest::qWaitFor([&] { return swatches.first()->entranceOpacity() > 0.2; }));
    EXPECT_GT(swatches.first()->entranceOpacity(), swatches.last()->entranceOpacity());
    EXPECT_LT(swatches.last()->entranceScale(), 1.0);
    ASSERT_TRUE(waitUntilStill(view));
    for (const ColorDot *swatch : swatches) {
        EXPECT_DOUBLE_EQ(swatch->entranceScale(), 1.0);
        EXPECT_DOUBLE_EQ(swatch->entranceOpacity(), 1.0);
    }

    QTest::mouseClick(swatches.first(), Qt::LeftButton);
    EXPECT_EQ(page->colorIndex(), 0) << "Coral stores 0";
    EXPECT_FALSE(view.colorsShown());
    ASSERT_TRUE(waitUntilStill(view));
    EXPECT_EQ(view.accentColor(), paletteColor(0));
    EXPECT_FALSE(view.colorPicker()->column()->isVisible());

    // A click on a row's text while the swatches are open only closes them.
    view.setColorsShown(true);
    ASSERT_TRUE(waitUntilStill(view));
    int opened = 0;
    QObject::connect(&view, &PageView::taskOpenRequested, [&] { ++opened; });
    QWidget *target = view.childAt(200, 180);
    ASSERT_TRUE(target);
    QTest::mouseClick(target, Qt::LeftButton, {}, target->mapFrom(&view, QPoint(200, 180)));
    EXPECT_FALSE(view.colorsShown());
    EXPECT_EQ(opened, 0);
    EXPECT_EQ(page->colorIndex(), 0);
}
