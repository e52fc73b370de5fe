// What a thumbnail says of its page at the edges; how the grid of them looks,
// an untitled page and a longer one included, is kept in the golden images.
#include "ui/contents/PageThumb.h"
#include "ContentsTestKit.h"

#include <gtest/gtest.h>

using namespace quillery;
using namespace quillery::ui;
using namespace quillery::test;

namespace {

Page *pageOf(PageKit &kit, int tasks, int doneEvery = 0)
{
    Page *page = kit.page(QStringLiteral("Errands"));
    for (int i = 0; i < tasks; ++i) {
        TaskItem *task = addTask(QStringLiteral("Task %1").arg(i + 1), 0, page, *kit.store);
        task->setDone(doneEvery > 0 && i % doneEvery == 0);
    }
    return page;
}

} // namespace

// Nine tasks, eight shown and "+1 more", are in the golden contents.
TEST(PageThumb, showsTheFirstEightTasksCountsTheRestAndTakesATitleOfSpacesForATitle)
{
    PageKit kit;
    const PageThumb::Content eight = PageThumb::content(*pageOf(kit, 8), 1, false);
    EXPECT_EQ(eight.lines.size(), 8);
    EXPECT_EQ(eight.more, 0);

    // Twelve tasks, four done (every third from the first): with those
    // hidden, the eight open ones fit and nothing is "more".
    Page *twelve = pageOf(kit, 12, 3);
    EXPECT_EQ(PageThumb::content(*twelve, 1, false).more, 4);
    const PageThumb::Content hiding = PageThumb::content(*twelve, 1, true);
    EXPECT_EQ(hiding.lines.size(), 8);
    EXPECT_EQ(hiding.more, 0);
    for (const PageThumb::Content::Line &line : hiding.lines)
        EXPECT_FALSE(line.done) << line.text.toStdString();
    // More tasks than lines even without the done ones: the count is of
    // what would be shown, not of the hidden tasks.
    EXPECT_EQ(PageThumb::content(*pageOf(kit, 20, 2), 1, true).more, 2);

    // A title of spaces is a title.
    Page *untitled = kit.page(QString());
    EXPECT_TRUE(PageThumb::content(*untitled, 1, false).untitled);
    untitled->setTitle(QStringLiteral("  "));
    EXPECT_FALSE(PageThumb::content(*untitled, 1, false).untitled);
}
