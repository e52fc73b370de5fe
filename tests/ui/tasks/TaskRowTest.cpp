// A task row as it is clicked and as it grows: ticking, the summary line,
// wrapping, and the request to open the task's card. How it is drawn is
// checked by the golden images of a page.
#include "ui/tasks/TaskRow.h"
#include "core/model/Attachment.h"
#include "core/model/Page.h"
#include "core/model/TaskItem.h"
#include "support/PageTestKit.h"
#include "ui/tasks/TaskRowCheck.h"

#include <gtest/gtest.h>

using namespace quillery;
using namespace quillery::ui;
using namespace quillery::test;

namespace {

class TaskRowTest : public ::testing::Test
{
protected:
    TaskItem *task(const QString &text, int indent = 0) { return addTask(text, indent, page, *kit.store); }

    std::unique_ptr<TaskRow> row(TaskItem *item, int width = 500)
    {
        auto made = std::make_unique<TaskRow>(item, kit.services());
        made->resize(width, made->heightForWidth(width));
        return made;
    }

    PageKit kit;
    Page *page = kit.page(QString(), {}, 4);
};

} // namespace

TEST_F(TaskRowTest, tickingWritesDoneOfThisTaskOnlyAndAClickOnTheTextAsksForTheCard)
{
    TaskItem *item = task(QStringLiteral("Water plants"));
    TaskItem *child = task(QStringLiteral("Tickets"), 1);
    item->setDue(kitNow());
    auto shown = row(item);
    TaskRowCheck *box = shown->checkBox();
    EXPECT_EQ(box->accessibleName(), QStringLiteral("Complete"));

    EXPECT_CALL(kit.alarms, schedule(item)).Times(2);
    QTest::mouseClick(box, Qt::LeftButton);
    EXPECT_TRUE(item->done());
    EXPECT_FALSE(child->done());
    EXPECT_EQ(item->due(), kitNow()) << "the due day stays";
    EXPECT_EQ(box->accessibleName(), QStringLiteral("Completed"));
    QTest::mouseClick(box, Qt::LeftButton);
    EXPECT_FALSE(item->done());

    // A change made elsewhere (the card, the mirror) shows too, without a
    // new alarm request from the row.
    item->setDone(true);
    EXPECT_EQ(box->accessibleName(), QStringLiteral("Completed"));
    EXPECT_TRUE(box->isDone());
    ::testing::Mock::VerifyAndClearExpectations(&kit.alarms);

    // A click on the text asks for the card; the box and the space beside it
    // do not, nor does a row whose task was removed.
    QList<TaskItem *> open;
    QObject::connect(shown.get(), &TaskRow::openRequested, [&](TaskItem *task) { open << task; });
    QTest::mouseClick(shown.get(), Qt::LeftButton, {}, QPoint(shown->textLeft() + 5, 20));
    EXPECT_EQ(open, QList<TaskItem *>({ item }));
    QTest::mouseClick(box, Qt::LeftButton);
    QTest::mouseClick(shown.get(), Qt::LeftButton, {}, QPoint(5, 40));
    EXPECT_EQ(open.count(), 1);
    kit.store->remove(item);
    QTest::mouseClick(shown.get(), Qt::LeftButton, {}, QPoint(shown->textLeft() + 5, 20));
    EXPECT_EQ(open.count(), 1);
    EXPECT_EQ(shown->titleText(), QStringLiteral("Water plants")) << "the row still shows what it last read";
}

TEST_F(TaskRowTest, theSummaryLineAndLongTitlesMakeTheRowGrow)
{
    TaskItem *item = task(QStringLiteral("Library"));
    auto shown = row(item);
    EXPECT_TRUE(shown->summaryText().isEmpty());
    const int oneLine = shown->heightForWidth(500);

    item->setDue(kitNow().addDays(-1));
    EXPECT_EQ(shown->summaryText(), QStringLiteral("Yesterday"));
    EXPECT_TRUE(shown->summaryIsOverdue());
    EXPECT_GT(shown->heightForWidth(500), oneLine) << "the summary adds a line";
    item->setDone(true);
    EXPECT_FALSE(shown->summaryIsOverdue());
    auto *attachment = new Attachment(QStringLiteral("a.pdf"), QStringLiteral("com.adobe.pdf"));
    kit.store->insert(attachment);
    attachment->setTask(item);
    EXPECT_EQ(shown->summaryText(), QStringLiteral("Yesterday  \u00B7  1 attachment"));

    item->setText(QStringLiteral("A very long task that will not fit on one line of a narrow page at all"));
    EXPECT_GT(shown->heightForWidth(300), shown->heightForWidth(900));
}

TEST_F(TaskRowTest, aRepeatingTaskShowsItsTickForAMomentThenItsNextDayAndADoubleClickIsOneTick)
{
    TaskItem *item = task(QStringLiteral("Water plants"));
    item->setDue(kit.services().calendar.startOfDay(kitNow()));
    item->setRepeat(QStringLiteral("FREQ=WEEKLY"));
    auto shown = row(item);
    const QString before = shown->summaryText();
    EXPECT_TRUE(before.endsWith(QStringLiteral("Every week"))) << before.toStdString();

    QTest::mouseClick(shown->checkBox(), Qt::LeftButton);
    QTest::mouseClick(shown->checkBox(), Qt::LeftButton);
    EXPECT_FALSE(item->done());
    EXPECT_EQ(item->due(), kit.services().calendar.startOfDayAfter(kitNow(), 7)) << "one week on, not two";
    EXPECT_TRUE(shown->checkBox()->isDone()) << "the tick shows for a moment";
    EXPECT_EQ(shown->summaryText(), before);

    EXPECT_TRUE(QTest::qWaitFor([&] { return !shown->checkBox()->isDone(); }, 3000));
    EXPECT_NE(shown->summaryText(), before) << "then the new day";
}
