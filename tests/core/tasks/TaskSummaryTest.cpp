#include "core/tasks/TaskSummary.h"
#include "core/model/Attachment.h"
#include "core/util/CalendarContext.h"
#include "support/TempStore.h"

#include <gtest/gtest.h>

using namespace quillery;
using quillery::test::TempStore;

namespace {

QDateTime utc(int y, int mo, int d, int h, int mi, int s = 0)
{
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s), Qt::UTC);
}

// Tuesday 5 January 2027, 10:00 in New York (UTC−5).
const QDateTime Now = utc(2027, 1, 5, 15, 0);

class TaskSummaryTest : public ::testing::Test
{
protected:
    TaskItem *task(const QString &text = QStringLiteral("Return books"))
    {
        auto *item = new TaskItem(text, 1);
        store->insert(item);
        return item;
    }
    void attach(TaskItem *item, int count)
    {
        for (int i = 0; i < count; ++i) {
            auto *attachment = new Attachment(QStringLiteral("scan.pdf"), QStringLiteral("com.adobe.pdf"));
            store->insert(attachment);
            attachment->setTask(item);
        }
    }

    TempStore store;
    ManualClock clock { Now };
    CalendarContext us { clock, "America/New_York", "en_US" };
};

} // namespace

TEST_F(TaskSummaryTest, partsComeInOrderAndOnlyWhenThereIsSomethingToSay)
{
    TaskItem *item = task();
    EXPECT_FALSE(summaryLine(*item, us));
    item->setAlarm(utc(2027, 1, 5, 20, 5));
    item->setPlaceName(QStringLiteral("Library"));
    item->setLatitude(52.5);
    EXPECT_FALSE(summaryLine(*item, us)) << "a reminder without a due day, a place without a longitude";

    item->setDue(utc(2027, 1, 6, 17, 0));
    item->setAlarm(std::nullopt);
    item->setPlace(Place { QStringLiteral("Library"), QStringLiteral("Main St 1"), 40.7, -74.0 });
    item->setNotes(QStringLiteral("   "));
    attach(item, 3);
    EXPECT_EQ(summaryLine(*item, us), QStringLiteral("Tomorrow  \u00B7  Library  \u00B7  Note  \u00B7  3 attachments"))
        << "blank notes still count";

    // A reminder adds its clock time to the day, in the locale's own form
    // (ICU puts a narrow no-break space before PM).
    item->setDue(utc(2027, 1, 5, 5, 0));
    item->setAlarm(utc(2027, 1, 5, 20, 5));
    EXPECT_EQ(summaryLine(*item, us)->section(summarySeparator(), 0, 0), QStringLiteral("Today at 3:05\u202FPM"));

    // A removed attachment is gone from the count at once.
    item->setDue(std::nullopt);
    item->setPlace(std::nullopt);
    store->remove(item->attachments().first());
    EXPECT_EQ(summaryLine(*item, us), QStringLiteral("Note  \u00B7  2 attachments"));
}

TEST_F(TaskSummaryTest, overdueOnlyWhenOpenAndPast)
{
    TaskItem *item = task();
    EXPECT_FALSE(isOverdue(*item, us)) << "no due day";

    item->setDue(utc(2027, 1, 4, 17, 0)); // yesterday
    EXPECT_TRUE(isOverdue(*item, us));
    item->setDone(true);
    EXPECT_FALSE(isOverdue(*item, us)) << "a done task is never overdue";
    item->setDone(false);

    // Due today: not overdue at any time of the day without a reminder.
    item->setDue(utc(2027, 1, 5, 5, 0)); // midnight in New York
    for (const QDateTime &moment : { utc(2027, 1, 5, 5, 0), utc(2027, 1, 5, 15, 0), utc(2027, 1, 6, 4, 59, 59) }) {
        clock.set(moment);
        EXPECT_FALSE(isOverdue(*item, us)) << moment.toString(Qt::ISODate).toStdString();
    }
    clock.set(utc(2027, 1, 6, 5, 0));
    EXPECT_TRUE(isOverdue(*item, us)) << "the next day it is late";

    // With a reminder, the reminder's moment decides.
    clock.set(Now);
    item->setAlarm(Now.addSecs(-60));
    EXPECT_TRUE(isOverdue(*item, us));
    item->setAlarm(Now.addSecs(60));
    EXPECT_FALSE(isOverdue(*item, us));
    item->setDue(utc(2027, 1, 1, 17, 0));
    EXPECT_FALSE(isOverdue(*item, us)) << "an old due day with a reminder still ahead is not late yet";

    item->setDue(std::nullopt);
    item->setAlarm(Now.addSecs(-3600));
    EXPECT_FALSE(isOverdue(*item, us)) << "a passed reminder without a due day";
}
