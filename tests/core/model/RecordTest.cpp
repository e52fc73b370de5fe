// Records in memory: change signals, relationships, ordering and appending
// tasks.
#include "core/model/Attachment.h"
#include "core/model/Page.h"
#include "core/model/TaskItem.h"
#include "support/TempStore.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace quillery;
using quillery::test::TempStore;

TEST(Records, writingTheSameValueEmitsNothing)
{
    TaskItem task(QStringLiteral("a"));
    QSignalSpy text(task.notifier(), &TaskNotifier::textChanged);
    QSignalSpy any(task.notifier(), &RecordNotifier::changed);
    task.setText(QStringLiteral("a"));
    task.setDone(false);
    task.setDue(std::nullopt);
    task.setIndent(0);
    // Fields a task rarely has are only made when first set.
    task.setNotes(QString(""));
    task.setAlarm(std::nullopt);
    task.setRepeat(QString());
    task.setLongitude(std::nullopt);
    EXPECT_EQ(any.count(), 0);
    task.setText(QStringLiteral("b"));
    EXPECT_EQ(text.count(), 1);
    EXPECT_EQ(any.count(), 1);
    EXPECT_EQ(any.at(0).at(0).value<Field>(), Field::Text);

    const QDateTime due = QDateTime::fromSecsSinceEpoch(1'800'000'000, Qt::UTC);
    QSignalSpy dueSpy(task.notifier(), &TaskNotifier::dueChanged);
    task.setDue(due);
    task.setDue(due.toOffsetFromUtc(3600)); // the same moment, written differently
    EXPECT_EQ(dueSpy.count(), 1);
}

TEST(Records, taskAndPageKeepBothSidesOfTheirLinkInStep)
{
    Page first;
    Page second;
    TaskItem task;
    QSignalSpy firstTasks(first.notifier(), &PageNotifier::tasksChanged);
    task.setPage(&first);
    EXPECT_EQ(first.tasks(), QList<TaskItem *> { &task });
    task.setPage(&second);
    EXPECT_TRUE(first.tasks().isEmpty());
    EXPECT_EQ(second.tasks(), QList<TaskItem *> { &task });
    EXPECT_EQ(firstTasks.count(), 2);
    task.setPage(nullptr);
    EXPECT_TRUE(second.tasks().isEmpty());

    Attachment attachment;
    attachment.setTask(&task);
    EXPECT_EQ(task.attachments(), QList<Attachment *> { &attachment });
}

TEST(Records, sortedTasksOrderByOrderThenCreationAndSkipRemovedTasks)
{
    TempStore store;
    auto *page = new Page(1, 0);
    store->insert(page);
    const auto make = [&](const char *text, double order, qint64 created) {
        auto *task = new TaskItem(QString::fromLatin1(text), order);
        task->setCreated(QDateTime::fromMSecsSinceEpoch(created, Qt::UTC));
        store->insert(task);
        task->setPage(page);
        return task;
    };
    TaskItem *late = make("late twin", 2, 2000);
    TaskItem *third = make("third", 3, 10);
    TaskItem *early = make("early twin", 2, 1000);
    TaskItem *first = make("first", -1.5, 5000);
    TaskItem *gone = make("gone", 0, 1);

    store->remove(gone);
    EXPECT_TRUE(gone->isDeleted());
    EXPECT_TRUE(page->tasks().contains(gone)) << "still listed until processed";
    EXPECT_EQ(page->sortedTasks(), (QList<TaskItem *> { first, early, late, third }));

    store->processPendingChanges();
    EXPECT_FALSE(page->tasks().contains(gone));
    EXPECT_EQ(page->sortedTasks(), (QList<TaskItem *> { first, early, late, third }));
}

TEST(Records, addTaskAppendsAfterTheLargestOrder)
{
    TempStore store;
    auto *page = new Page(1, 0);
    store->insert(page);

    TaskItem *one = addTask(QStringLiteral("one"), 0, page, *store);
    EXPECT_EQ(one->order(), 1.0);
    EXPECT_EQ(one->page(), page);
    EXPECT_TRUE(one->isInserted());

    one->setOrder(7.0);
    TaskItem *sub = addTask(QStringLiteral("sub"), 1, page, *store);
    EXPECT_EQ(sub->order(), 8.0);
    EXPECT_EQ(sub->indent(), 1);

    // A removed task not yet processed still counts.
    sub->setOrder(20.0);
    store->remove(sub);
    EXPECT_EQ(addTask(QStringLiteral("after"), 0, page, *store)->order(), 21.0);

    // Negative and fractional orders are fine.
    auto *other = new Page(2, 0);
    store->insert(other);
    addTask(QStringLiteral("x"), 0, other, *store)->setOrder(-3.5);
    EXPECT_EQ(addTask(QStringLiteral("y"), 0, other, *store)->order(), -2.5);
}
