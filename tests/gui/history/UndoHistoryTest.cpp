// The undo history over a real book: every kind of step taken back and done
// again restores every field, the attachments' bytes, the ids and the pending
// alarms. (That a deletion taken back reaches the other computer as the same
// record, and how an undo meets changes from there: the mirror's own tests.)
#include "core/alarms/FakeNotificationCenter.h"
#include "support/BookText.h"
#include "support/TempStore.h"

#include "core/alarms/AlarmScheduler.h"
#include "core/alarms/AlarmStatus.h"
#include "core/lift/Lift.h"
#include "core/model/Attachment.h"
#include "core/model/Page.h"
#include "core/model/TaskItem.h"
#include "core/tasks/TaskActions.h"
#include "gui/history/UndoHistory.h"

#include <gtest/gtest.h>

#include <functional>

using namespace quillery;
using quillery::test::bookText;
using quillery::test::TempStore;

namespace {

class UndoHistoryTest : public ::testing::Test
{
protected:
    void TearDown() override { center.stop(); }

    TaskItem *task(Page *page, const QString &text, const std::optional<QDateTime> &alarm = std::nullopt)
    {
        TaskItem *added = addTask(text, 0, page, *store);
        added->setAlarm(alarm);
        alarms.schedule(added);
        return added;
    }

    Attachment *attach(TaskItem *owner, const QString &name)
    {
        // Bytes of its own for each, about 64 KB.
        auto *attachment = new Attachment(name, QStringLiteral("public.jpeg"), name.toUtf8().repeated(6000));
        store->insert(attachment);
        attachment->setTask(owner);
        return attachment;
    }

    QString pending()
    {
        QStringList ids = center.pendingIdentifiers();
        ids.sort();
        return ids.join(u' ');
    }

    const QDateTime tomorrow = QDateTime::currentDateTimeUtc().addDays(1);
    TempStore store;
    FakeNotificationCenter center;
    AlarmStatus status;
    CalendarContext calendar { Clock::system(), "UTC", "en_US" };
    AlarmScheduler alarms { center, calendar, status };
    UndoHistory history { *store, &alarms };
};

} // namespace

TEST_F(UndoHistoryTest, everyKindOfStepGoesBackAndForthToTheSameBookAndAlarms)
{
    auto *errands = new Page(1, 0);
    auto *work = new Page(2, 1);
    store->insert(errands);
    store->insert(work);
    TaskItem *milk = task(errands, QStringLiteral("Milk"), tomorrow);
    TaskItem *letter = task(errands, QStringLiteral("Post letter"));
    TaskItem *report = task(work, QStringLiteral("Report"), tomorrow.addSecs(3600));
    attach(report, QStringLiteral("chart.jpg"));
    Attachment *stamp = attach(letter, QStringLiteral("stamp.jpg"));
    history.commit();
    history.stack().clear();

    const TaskActions actions(&alarms);
    const QList<std::function<void()>> steps {
        [&] { task(errands, QStringLiteral("Call Sam")); },
        [&] {
            // Typing in one visit to the field is one step.
            milk->setText(QStringLiteral("Oat"));
            history.commit();
            milk->setText(QStringLiteral("Oat milk"));
            history.seal();
        },
        [&] {
            milk->setDone(true);
            alarms.schedule(milk);
        },
        [&] { Lift::commitAt(errands->sortedTasks(), errands->sortedTasks(), { letter->id() }, 0, false); },
        [&] { Lift::commitLevel(errands->sortedTasks(), milk, true); },
        [&] { errands->setTitle(QStringLiteral("Errands")); },
        [&] { errands->setColorIndex(4); },
        [&] {
            letter->setDue(tomorrow);
            actions.dueChanged(letter, calendar);
        },
        [&] {
            letter->setPlace(Place { QStringLiteral("Post office"), QStringLiteral("Main St 1"), 52.52, 13.405 });
        },
        [&] { attach(milk, QStringLiteral("receipt.jpg")); },
        [&] { store->remove(stamp); },
        [&] { actions.discard(letter); },
        [&] { store->insert(new Page(3, 2)); },
        [&] {
            alarms.cancel(report);
            store->remove(work);
        },
    };
    QStringList books { bookText(*store) };
    QStringList alarmed { pending() };
    QStringList names;
    for (const auto &step : steps) {
        step();
        history.commit();
        books << bookText(*store);
        alarmed << pending();
        names << history.stack().undoText();
    }
    EXPECT_EQ(names.join(u','),
        QStringLiteral("Add Task,Edit Task,Mark as Done,Move Task,Indent Task,Rename Page,Change Page Color,"
                       "Change Due Day,Change Place,Add Attachment,Remove Attachment,Delete Task,New Page,"
                       "Tear Out Page"));
    ASSERT_EQ(history.stack().count(), steps.size());

    for (qsizetype i = steps.size(); i > 0; --i) {
        history.undo();
        ASSERT_EQ(bookText(*store), books.at(i - 1)) << "undoing " << names.at(i - 1).toStdString();
        ASSERT_EQ(pending(), alarmed.at(i - 1)) << "undoing " << names.at(i - 1).toStdString();
    }
    EXPECT_FALSE(history.stack().canUndo());
    for (qsizetype i = 1; i <= steps.size(); ++i) {
        history.redo();
        ASSERT_EQ(bookText(*store), books.at(i)) << "redoing " << names.at(i - 1).toStdString();
        ASSERT_EQ(pending(), alarmed.at(i)) << "redoing " << names.at(i - 1).toStdString();
    }

    // What the file holds after going back is the book as it began; the
    // history is of this run only.
    while (history.stack().canUndo())
        history.undo();
    store.reopen();
    EXPECT_EQ(bookText(*store), books.first());
    EXPECT_FALSE(UndoHistory(*store, nullptr).stack().canUndo());
}
