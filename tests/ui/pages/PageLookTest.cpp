// How a page looks: the paddings and colours measured on the drawn pixels.
// Set QUILLERY_SHOTS to a folder to also keep the pictures for a look.
#include "core/model/Attachment.h"
#include "core/model/Page.h"
#include "core/model/TaskItem.h"
#include "core/theme/Appearance.h"
#include "core/theme/Palette.h"
#include "core/theme/ThemeColors.h"
#include "support/PageTestKit.h"
#include "ui/pages/AddTaskRow.h"
#include "ui/pages/BlankPageView.h"
#include "ui/pages/PageFooter.h"
#include "ui/pages/PageHeader.h"
#include "ui/pages/PageNumberBlock.h"
#include "ui/pages/PageOptionsMenu.h"
#include "ui/pages/PageView.h"
#include "ui/tasks/TaskRow.h"
#include "ui/tasks/TaskRowCheck.h"
#include "ui/theme/SymbolButton.h"

#include <QDir>
#include <QLineEdit>
#include <gtest/gtest.h>

using namespace quillery;
using namespace quillery::ui;
using namespace quillery::test;

namespace {

void keep(const QImage &image, const QString &name)
{
    const QString folder = qEnvironmentVariable("QUILLERY_SHOTS");
    if (folder.isEmpty())
        return;
    QDir().mkpath(folder);
    image.save(QDir(folder).filePath(name + QStringLiteral(".png")));
}

Page *samplePage(PageKit &kit)
{
    Page *page = kit.page(QStringLiteral("Weekend"),
        { "Farmers market", ">Apples", ">Bread*", "Call the plumber about the kitchen sink before Saturday morning",
            "Return library books*", "Plan the trip" },
        4);
    const QList<TaskItem *> tasks = page->sortedTasks();
    tasks.at(0)->setDue(kitNow().addSecs(3600));
    tasks.at(0)->setAlarm(kitNow().addSecs(4 * 3600));
    tasks.at(3)->setDue(kitNow().addDays(-2));
    tasks.at(5)->setPlace(Place { QStringLiteral("Central Station"), QString(), 40.75, -73.97 });
    tasks.at(5)->setNotes(QStringLiteral("Trains every hour"));
    return page;
}

} // namespace

TEST(PageLook, paddingsAndColoursOfAPage)
{
    for (const ColorScheme scheme : { ColorScheme::Light, ColorScheme::Dark }) {
        PageKit kit;
        kit.appearance.setForcedScheme(scheme);
        Page *page = samplePage(kit);
        PageView view(page, 3, 7, PageActions {}, kit.services(), &kit.editing);
        ASSERT_TRUE(showActive(view));
        settle(900);
        const QImage image = view.grab().toImage();
        keep(image, scheme == ColorScheme::Dark ? QStringLiteral("page-dark") : QStringLiteral("page-light"));

        // The header starts 28 in and 18 down; the capsule lies under the
        // title in the page's colour.
        EXPECT_EQ(view.header()->geometry().topLeft(), QPoint(28, 18));
        EXPECT_EQ(view.header()->width(), 600 - 28 - 76);
        const QRect capsule(view.header()->mapTo(&view, QPoint(0, view.header()->height() - 4)), QSize(36, 4));
        EXPECT_EQ(image.pixelColor(capsule.center()).rgb(), paletteColor(4).rgb());
        EXPECT_EQ(image.pixelColor(capsule.right() + 2, capsule.center().y()).rgb() == paletteColor(4).rgb(), false);

        // The first row's box sits at the list's leading padding; the rule
        // under the row is drawn in the rule colour.
        TaskRow *first = view.rows().first();
        const QPoint box = first->mapTo(&view, QPoint(0, 0));
        EXPECT_EQ(box.x(), 28);
        EXPECT_EQ(box.y(), view.header()->geometry().bottom() + 1 + 12 + 8);
        const QPoint rule = first->mapTo(&view, QPoint(200, first->height() - 1));
        EXPECT_EQ(image.pixelColor(rule).rgb(), themeColor(ThemeColor::Rule, scheme).rgb());

        // Subtasks are inset one level.
        EXPECT_EQ(view.rows().at(1)->checkBox()->mapTo(&view, QPoint(0, 0)).x(), 28 + 30);

        // The footer: 52 tall, 10 above the bottom, 16 in from each side.
        EXPECT_EQ(view.footer()->geometry(), QRect(16, 834 - 10 - 52, 600 - 32, 52));

        // Paper between the rows' text and the colour column: the tinted
        // paper of the scheme, give or take a grain speck.
        const QColor paperAt = image.pixelColor(580, 400);
        const QColor tint = paperTint(4, scheme);
        const QColor paper = themeColor(ThemeColor::Paper, scheme);
        const int expectedBlue = qRound(paper.blue() + (tint.blue() - paper.blue()) * tint.alphaF());
        EXPECT_NEAR(paperAt.blue(), expectedBlue, 30);
    }
}

TEST(PageLook, followsTheDesktopSchemeWhileShown)
{
    PageKit kit;
    kit.appearance.setForcedScheme(ColorScheme::Light);
    Page *page = kit.page(QStringLiteral("Switch"), { "Row" }, 2);
    PageView view(page, 1, 1, PageActions {}, kit.services(), &kit.editing);
    ASSERT_TRUE(showActive(view));
    settle(50);
    const QPoint paperSpot(300, 600);
    const QColor lightPaper = view.grab().toImage().pixelColor(paperSpot);

    kit.appearance.setForcedScheme(ColorScheme::Dark);
    settle(50);
    const QImage dark = view.grab().toImage();
    EXPECT_LT(dark.pixelColor(paperSpot).lightness(), 80);
    EXPECT_GT(lightPaper.lightness(), 200);
    EXPECT_EQ(view.accentColor(), paletteColor(2)) << "the palette does not change";
    EXPECT_EQ(view.palette().color(QPalette::Text), themeColor(ThemeColor::Ink, ColorScheme::Dark));
    const QPoint rule = view.rows().first()->mapTo(&view, QPoint(100, view.rows().first()->height() - 1));
    EXPECT_EQ(dark.pixelColor(rule).rgb(), themeColor(ThemeColor::Rule, ColorScheme::Dark).rgb());
}

TEST(PageLook, picturesOfTheOtherFaces)
{
    if (qEnvironmentVariableIsEmpty("QUILLERY_SHOTS"))
        GTEST_SKIP() << "only kept for a look";
    PageKit kit;
    kit.appearance.setForcedScheme(ColorScheme::Light);
    kit.preferences.setTypeface(QStringLiteral("serif"));
    kit.preferences.setHideCompleted(true);
    Page *page = samplePage(kit);
    PageView view(page, 1, 1, PageActions {}, kit.services(), &kit.editing);
    ASSERT_TRUE(showActive(view));
    view.addRow()->field()->setFocus();
    QTest::keyClicks(view.addRow()->field(), QStringLiteral(" new subtask"));
    view.setColorsShown(true);
    settle(1000);
    keep(view.grab().toImage(), QStringLiteral("page-serif-swatches"));

    view.setColorsShown(false);
    settle(300);
    QTest::mouseClick(view.footer()->optionsButton(), Qt::LeftButton);
    settle(300);
    keep(view.optionsMenu()->grab().toImage(), QStringLiteral("menu"));
    const int hold = qEnvironmentVariableIntValue("QUILLERY_SHOTS_HOLD");
    if (hold > 0)
        QTest::qWait(hold); // time for a screen capture of the real window
    view.optionsMenu()->close();
    view.requestTearOut();
    settle(300);
    if (view.tearOutConfirmation())
        keep(view.tearOutConfirmation()->grab().toImage(), QStringLiteral("confirm"));
    if (hold > 0)
        QTest::qWait(hold);
    view.tearOutConfirmation()->reject();
    settle();

    view.setSnapshot(true);
    page->setTitle(QString());
    settle(300);
    keep(view.grab().toImage(), QStringLiteral("page-snapshot"));

    BlankPageView blank(2, 5, kit.appearance);
    blank.resize(600, 834);
    keep(blank.grab().toImage(), QStringLiteral("blank"));
}
