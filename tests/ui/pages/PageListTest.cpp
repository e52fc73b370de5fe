// The task list of a page as the store changes under it: hidden completed
// tasks, rows collected by frame, and records removed by someone else.
#include "core/model/Page.h"
#include "core/model/TaskItem.h"
#include "support/PageTestKit.h"
#include "ui/pages/AddTaskRow.h"
#include "ui/pages/HiddenTasksButton.h"
#include "ui/pages/PageHeader.h"
#include "ui/pages/PageView.h"
#include "ui/pages/TaskListView.h"
#include "ui/tasks/TaskRow.h"
#include "ui/tasks/TaskRowCheck.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace quillery;
using namespace quillery::ui;
using namespace quillery::test;

namespace {

QStringList rowTexts(const PageView &view)
{
    QStringList out;
    for (const TaskRow *row : view.rows())
        out << row->titleText();
    return out;
}

} // namespace

TEST(PageList, hiddenCompletedTasksAreCountedAndComeBackOnAClick)
{
    PageKit kit;
    kit.preferences.setHideCompleted(true);
    Page *page = kit.page(QStringLiteral("Week"), { "Laundry*", "Dentist", "Bills*", "Call Sam", "Plants" });
    PageView view(page, 1, 1, PageActions {}, kit.services(), &kit.editing);
    ASSERT_TRUE(showActive(view));

    EXPECT_EQ(rowTexts(view), QStringList({ "Dentist", "Call Sam", "Plants" }));
    HiddenTasksButton *hidden = view.list()->hiddenButton();
    ASSERT_TRUE(hidden->isVisible());
    EXPECT_EQ(hidden->text(), QStringLiteral("2 completed hidden"));
    EXPECT_GE(hidden->geometry().top(), view.addRow()->geometry().bottom()) << "under the add line";

    QTest::mouseClick(hidden, Qt::LeftButton);
    settle();
    EXPECT_FALSE(kit.preferences.hideCompleted());
    EXPECT_EQ(rowTexts(view), QStringList({ "Laundry", "Dentist", "Bills", "Call Sam", "Plants" }));
    ASSERT_TRUE(waitUntilStill(view)); // the rows have moved into place
    EXPECT_FALSE(hidden->isVisible());

    // Ticking a task while completed tasks are hidden takes it off the page.
    kit.preferences.setHideCompleted(true);
    settle();
    QTest::mouseClick(view.rows().first()->checkBox(), Qt::LeftButton); // Dentist
    ASSERT_TRUE(waitUntilStill(view));
    EXPECT_EQ(rowTexts(view), QStringList({ "Call Sam", "Plants" }));
    EXPECT_EQ(hidden->text(), QStringLiteral("3 completed hidden"));

    // A hidden task removed elsewhere leaves the count at once.
    kit.store->remove(page->sortedTasks().first()); // Laundry
    settle();
    EXPECT_EQ(hidden->text(), QStringLiteral("2 completed hidden"));
}

TEST(PageList, tasksRemovedUnderTheViewDisappearCleanly)
{
    PageKit kit;
    Page *page = kit.page(QStringLiteral("Errands"), { "Post office", "Bank", "Pharmacy" });
    PageView view(page, 1, 1, PageActions {}, kit.services(), &kit.editing);
    ASSERT_TRUE(showActive(view));

    // The mirror removes a task while its row is on screen; the user clicks
    // the stale row's box before the page has caught up.
    TaskRow *bankRow = view.rows().at(1);
    TaskItem *bank = bankRow->task();
    kit.store->remove(bank);
    EXPECT_EQ(bankRow->task(), nullptr);
    EXPECT_CALL(kit.alarms, schedule(::testing::_)).Times(0);
    QTest::mouseClick(bankRow->checkBox(), Qt::LeftButton);
    EXPECT_FALSE(bankRow->checkBox()->isDone()) << "a removed task cannot be ticked";

    settle();
    kit.store->processPendingChanges();
    ASSERT_TRUE(waitUntilStill(view)); // the removed task is destroyed, its row has faded out
    EXPECT_EQ(rowTexts(view), QStringList({ "Post office", "Pharmacy" }));
    EXPECT_FALSE(view.grab().isNull());

    // The whole page goes (torn out elsewhere): the view empties and stays
    // safe to use.
    QSignalSpy removed(&view, &PageView::pageRemoved);
    view.addRow()->field()->setFocus(Qt::MouseFocusReason);
    kit.store->remove(page);
    EXPECT_EQ(removed.count(), 1);
    EXPECT_EQ(view.page(), nullptr);
    settle();
    kit.store->processPendingChanges();
    ASSERT_TRUE(QTest::qWaitFor([&] { return view.rows().isEmpty(); }));
    QTest::keyClicks(view.addRow()->field(), QStringLiteral("late"));
    QTest::keyClick(view.addRow()->field(), Qt::Key_Return);
    view.header()->titleField()->setText(QStringLiteral("ignored"));
    view.setColorsShown(true);
    EXPECT_FALSE(view.colorsShown());
    view.requestTearOut();
    EXPECT_FALSE(view.isConfirmingTearOut());
    settle();
    EXPECT_TRUE(kit.store->tasks().isEmpty()) << "nothing was written for the removed page";
    EXPECT_FALSE(view.grab().isNull());
}

TEST(PageList, theTitleFieldEditsThePageAndASnapshotShowsItAsPlainText)
{
    PageKit kit;
    Page *page = kit.page(QString(), { "One" });
    PageView view(page, 1, 1, PageActions {}, kit.services(), &kit.editing);
    ASSERT_TRUE(showActive(view));
    QLineEdit *title = view.header()->titleField();
    title->setFocus(Qt::MouseFocusReason);
    QTest::keyClicks(title, QStringLiteral("Garden"));
    EXPECT_EQ(page->title(), QStringLiteral("Garden"));
    QTest::keyClick(title, Qt::Key_Return);
    EXPECT_FALSE(title->hasFocus()) << "Return finishes the title";
    page->setTitle(QStringLiteral("Garden work")); // changed elsewhere
    EXPECT_EQ(title->text(), QStringLiteral("Garden work"));

    view.setSnapshot(true);
    EXPECT_TRUE(title->isHidden()) << "no editable field in a picture";
    EXPECT_TRUE(view.addRow()->field()->isReadOnly());
    EXPECT_EQ(view.rows().size(), 1);
    page->setTitle(QString());
    EXPECT_EQ(view.header()->shownTitle(), QStringLiteral("Untitled"));
    view.setSnapshot(false);
    EXPECT_FALSE(title->isHidden());
    EXPECT_FALSE(view.addRow()->field()->isReadOnly());
}
