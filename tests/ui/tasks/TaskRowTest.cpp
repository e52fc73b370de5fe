// A task row as it is drawn and clicked: the box, the struck-through done
// title, the indentation, the summary line and the open request.
#include "ui/tasks/TaskRow.h"
#include "core/model/Attachment.h"
#include "core/model/Page.h"
#include "core/model/TaskItem.h"
#include "core/theme/Appearance.h"
#include "core/theme/Palette.h"
#include "core/theme/ThemeColors.h"
#include "support/PageTestKit.h"
#include "ui/tasks/TaskRowCheck.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace quillery;
using namespace quillery::ui;
using namespace quillery::test;

namespace {

class TaskRowTest : public ::testing::Test
{
protected:
    TaskRowTest() { kit.appearance.setForcedScheme(ColorScheme::Light); }

    TaskItem *task(const QString &text, int indent = 0)
    {
        if (!page) {
            page = new Page(1, 4);
            kit.store->insert(page);
        }
        TaskItem *item = addTask(text, indent, page, *kit.store);
        return item;
    }

    std::unique_ptr<TaskRow> row(TaskItem *item, int width = 500)
    {
        auto made = std::make_unique<TaskRow>(item, kit.services());
        made->setAccent(paletteColor(4));
        made->resize(width, made->heightForWidth(width));
        return made;
    }

    static bool near(const QColor &a, const QColor &b, int tolerance = 40)
    {
        return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue())
            <= tolerance;
    }

    // Pixels of the title line that are drawn in (roughly) `ink`.
    static int inkPixels(const QImage &image, const QRect &area, const QColor &ink)
    {
        int count = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                count += near(image.pixelColor(x, y), ink);
        return count;
    }

    PageKit kit;
    Page *page = nullptr;
};

} // namespace

TEST_F(TaskRowTest, tickingWritesDoneAndBringsTheAlarmUpToDate)
{
    TaskItem *item = task(QStringLiteral("Water plants"));
    auto shown = row(item);
    TaskRowCheck *box = shown->checkBox();
    EXPECT_EQ(box->accessibleName(), QStringLiteral("Complete"));

    EXPECT_CALL(kit.alarms, schedule(item)).Times(2);
    QTest::mouseClick(box, Qt::LeftButton);
    EXPECT_TRUE(item->done());
    EXPECT_EQ(box->accessibleName(), QStringLiteral("Completed"));
    QTest::mouseClick(box, Qt::LeftButton);
    EXPECT_FALSE(item->done());

    // A change made elsewhere (the card, the mirror) shows too, without a
    // new alarm request from the row.
    item->setDone(true);
    EXPECT_EQ(box->accessibleName(), QStringLiteral("Completed"));
    EXPECT_TRUE(box->isDone());
}

TEST_F(TaskRowTest, tickingTouchesOnlyThisTask)
{
    TaskItem *parent = task(QStringLiteral("Trip"));
    TaskItem *child = task(QStringLiteral("Tickets"), 1);
    parent->setDue(kitNow());
    auto shown = row(parent);
    QTest::mouseClick(shown->checkBox(), Qt::LeftButton);
    EXPECT_TRUE(parent->done());
    EXPECT_FALSE(child->done());
    EXPECT_EQ(parent->due(), kitNow()) << "the due day stays";
}

TEST_F(TaskRowTest, aDoneTitleIsMutedAndStruckThrough)
{
    TaskItem *item = task(QStringLiteral("MMMMMMMMMMMM"));
    auto shown = row(item);
    const QRect title(shown->textLeft(), 10, 200, 22);
    const QColor ink = themeColor(ThemeColor::Ink, ColorScheme::Light);
    const QColor muted = themeColor(ThemeColor::MutedInk, ColorScheme::Light);

    const QImage open = shown->grab().toImage();
    EXPECT_GT(inkPixels(open, title, ink), 100) << "open tasks are written in ink";

    item->setDone(true);
    const QImage done = shown->grab().toImage();
    EXPECT_EQ(inkPixels(done, title, ink), 0) << "done tasks are not";
    EXPECT_GT(inkPixels(done, title, muted), 100);
    // The strike: one line of the title has muted pixels all along the text.
    int longest = 0;
    for (int y = title.top(); y <= title.bottom(); ++y) {
        int run = 0;
        for (int x = title.left(); x < title.left() + 120; ++x)
            run = near(done.pixelColor(x, y), muted, 60) ? run + 1 : 0;
        longest = std::max(longest, run);
    }
    EXPECT_GE(longest, 100);
}

TEST_F(TaskRowTest, eachLevelInsetsTheWholeRowRuleIncluded)
{
    TaskItem *item = task(QStringLiteral("Deep"), 2);
    auto shown = row(item);
    EXPECT_EQ(shown->checkBox()->x(), 60);
    EXPECT_EQ(shown->checkBox()->y(), 11);
    EXPECT_EQ(shown->textLeft(), 60 + 22 + 12);

    const QImage image = shown->grab().toImage();
    const int ruleY = shown->height() - 1;
    const QColor rule = themeColor(ThemeColor::Rule, ColorScheme::Light);
    EXPECT_EQ(image.pixelColor(60, ruleY).rgb(), rule.rgb());
    EXPECT_EQ(image.pixelColor(499, ruleY).rgb(), rule.rgb());
    EXPECT_NE(image.pixelColor(59, ruleY).rgb(), rule.rgb()) << "the rule starts at the indentation";

    item->setIndent(0);
    EXPECT_EQ(shown->checkBox()->x(), 0);
}

TEST_F(TaskRowTest, summaryLineOnlyWhenThereIsSomethingToSay)
{
    TaskItem *item = task(QStringLiteral("Library"));
    auto shown = row(item);
    EXPECT_TRUE(shown->summaryText().isEmpty());
    EXPECT_EQ(shown->heightForWidth(500), 44 + 1) << "one line: the minimum height and the rule";

    item->setDue(kitNow().addDays(-1));
    EXPECT_EQ(shown->summaryText(), QStringLiteral("Yesterday"));
    EXPECT_TRUE(shown->summaryIsOverdue());
    EXPECT_GT(shown->heightForWidth(500), 45) << "the summary adds a line";
    const QImage image = shown->grab().toImage();
    int red = 0;
    for (int y = 30; y < shown->height() - 2; ++y)
        for (int x = shown->textLeft(); x < shown->textLeft() + 80; ++x)
            red += near(image.pixelColor(x, y), alertColor(ColorScheme::Light), 60);
    EXPECT_GT(red, 20) << "an overdue summary is red";

    item->setDone(true);
    EXPECT_FALSE(shown->summaryIsOverdue());
    auto *attachment = new Attachment(QStringLiteral("a.pdf"), QStringLiteral("com.adobe.pdf"));
    kit.store->insert(attachment);
    attachment->setTask(item);
    EXPECT_EQ(shown->summaryText(), QStringLiteral("Yesterday  \u00B7  1 attachment"));

    // Long titles wrap and the row grows with them.
    item->setText(QStringLiteral("A very long task that will not fit on one line of a narrow page at all"));
    EXPECT_GT(shown->heightForWidth(300), shown->heightForWidth(900));
}

TEST_F(TaskRowTest, clickingTheTextAsksForTheCard)
{
    TaskItem *item = task(QStringLiteral("Call Sam"));
    auto shown = row(item);
    QList<TaskItem *> open;
    QObject::connect(shown.get(), &TaskRow::openRequested, [&](TaskItem *task) { open << task; });
    QTest::mouseClick(shown.get(), Qt::LeftButton, {}, QPoint(shown->textLeft() + 5, 20));
    ASSERT_EQ(open.count(), 1);
    EXPECT_EQ(open.first(), item);
    QTest::mouseClick(shown->checkBox(), Qt::LeftButton);
    QTest::mouseClick(shown.get(), Qt::LeftButton, {}, QPoint(5, 40));
    EXPECT_EQ(open.count(), 1) << "the box and the space beside it do not open the card";

    kit.store->remove(item);
    QTest::mouseClick(shown.get(), Qt::LeftButton, {}, QPoint(shown->textLeft() + 5, 20));
    EXPECT_EQ(open.count(), 1) << "a removed task has no card";
    EXPECT_EQ(shown->titleText(), QStringLiteral("Call Sam")) << "the row still shows what it last read";
}
