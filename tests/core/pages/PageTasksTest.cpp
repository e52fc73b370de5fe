#include "core/pages/PageTasks.h"
#include "support/TempStore.h"

#include <gtest/gtest.h>

using namespace quillery;
using quillery::test::TempStore;

namespace {

// A page of `texts`; a leading '>' makes a subtask and a trailing '*' a done
// task.
Page *pageOf(Store &store, std::initializer_list<const char *> texts)
{
    auto *page = new Page(1, 0);
    store.insert(page);
    for (const char *raw : texts) {
        QString text = QString::fromUtf8(raw);
        const int indent = text.startsWith(u'>') ? 1 : 0;
        const bool done = text.endsWith(u'*');
        text.remove(u'>').remove(u'*');
        TaskItem *task = addTask(text, indent, page, store);
        task->setDone(done);
    }
    return page;
}

QStringList texts(const QList<TaskItem *> &tasks)
{
    QStringList out;
    for (const TaskItem *task : tasks)
        out << task->text();
    return out;
}

} // namespace

TEST(PageTasks, hidingCompletedJudgesEachTaskByItsOwnMarkAndRemovedTasksCountForNothing)
{
    TempStore store;
    Page *page = pageOf(*store, { "Groceries*", ">milk", ">eggs*", "Call Sam", "Bills*", ">water" });
    EXPECT_EQ(
        texts(visibleTasks(*page, false)), QStringList({ "Groceries", "milk", "eggs", "Call Sam", "Bills", "water" }));
    EXPECT_EQ(hiddenCount(*page, false), 0) << "nothing is hidden while completed tasks show";
    // The open subtasks of done parents stay; the done subtask of an open
    // parent goes.
    EXPECT_EQ(texts(visibleTasks(*page, true)), QStringList({ "milk", "Call Sam", "water" }));
    EXPECT_EQ(hiddenCount(*page, true), 3);

    store->remove(page->sortedTasks().first());
    EXPECT_EQ(hiddenCount(*page, true), 2);
    EXPECT_EQ(visibleTasks(*page, false).size(), 5);

    // The task whose card is open shows though it is done.
    TaskItem *bills = page->sortedTasks().at(3);
    EXPECT_EQ(texts(visibleTasks(*page, true, bills)), QStringList({ "milk", "Call Sam", "Bills", "water" }));
    EXPECT_EQ(hiddenCount(*page, true, bills), 1);
}

TEST(PageTasks, aPageIsBlankOnlyWithoutTitleAndLiveTasks)
{
    TempStore store;
    Page *page = pageOf(*store, {});
    EXPECT_TRUE(isBlank(*page));
    page->setTitle(QStringLiteral("Trip"));
    EXPECT_FALSE(isBlank(*page)) << "a title alone is worth keeping";
    page->setTitle(QString());
    TaskItem *task = addTask(QString(), 0, page, *store);
    EXPECT_FALSE(isBlank(*page)) << "even an empty task line counts";
    store->remove(task);
    EXPECT_TRUE(isBlank(*page)) << "a removed task no longer counts, even before the store lets it go";
}
