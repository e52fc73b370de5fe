// Typing tasks into a page: the add line's rules as the user meets them,
// through the real widgets and a real store.
#include "core/model/Page.h"
#include "core/model/TaskItem.h"
#include "support/PageTestKit.h"
#include "ui/pages/AddTaskRow.h"
#include "ui/pages/PageHeader.h"
#include "ui/pages/PageScrollArea.h"
#include "ui/pages/PageView.h"
#include "ui/pages/TaskListView.h"
#include "ui/tasks/TaskRow.h"

#include <QLineEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace quillery;
using namespace quillery::ui;
using namespace quillery::test;

namespace {

class AddTaskLineTest : public ::testing::Test
{
protected:
    void open(Page *page)
    {
        view = std::make_unique<PageView>(page, 1, 1, PageActions {}, kit.services(), &kit.editing);
        ASSERT_TRUE(showActive(*view));
        field = view->addRow()->field();
        field->setFocus(Qt::MouseFocusReason);
        settle();
        ASSERT_TRUE(field->hasFocus());
    }

    QStringList tasksOf(Page *page)
    {
        QStringList out;
        for (const TaskItem *task : page->sortedTasks())
            out << QString(task->indent(), u'>') + task->text();
        return out;
    }

    PageKit kit;
    std::unique_ptr<PageView> view;
    QLineEdit *field = nullptr;
};

} // namespace

TEST_F(AddTaskLineTest, aLeadingSpaceTypesSubtasksUntilTheLevelIsReset)
{
    Page *page = kit.page(QStringLiteral("Shopping"), { "Groceries" });
    open(page);

    QTest::keyClicks(field, QStringLiteral(" buy milk"));
    EXPECT_EQ(field->text(), QStringLiteral("buy milk")) << "the space made a subtask line and is gone";
    EXPECT_EQ(view->addRow()->indentLevel(), 1);
    QTest::keyClick(field, Qt::Key_Return);
    settle();

    EXPECT_EQ(tasksOf(page), QStringList({ "Groceries", ">buy milk" }));
    EXPECT_TRUE(field->text().isEmpty());
    EXPECT_TRUE(field->hasFocus()) << "typing continues on a fresh line";
    EXPECT_EQ(view->addRow()->indentLevel(), 1) << "the next line is a subtask line too";
    EXPECT_EQ(view->rows().size(), 2) << "the new row shows at once";
    EXPECT_EQ(view->rows().last()->indentLevel(), 1);

    // Return on the empty line: back to the top level, still typing.
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_EQ(view->addRow()->indentLevel(), 0);
    EXPECT_TRUE(field->hasFocus());
    QTest::keyClicks(field, QStringLiteral("Call Sam"));
    QTest::keyClick(field, Qt::Key_Return);
    settle();
    EXPECT_EQ(tasksOf(page), QStringList({ "Groceries", ">buy milk", "Call Sam" }));
    EXPECT_EQ(page->sortedTasks().last()->order(), 3.0);

    // Return on a blank line, then on the empty top-level line, leaves the
    // field without creating anything.
    field->setText(QStringLiteral("   \t"));
    QTest::keyClick(field, Qt::Key_Return);
    QTest::keyClick(field, Qt::Key_Return);
    settle();
    EXPECT_FALSE(field->hasFocus());
    EXPECT_EQ(page->sortedTasks().size(), 3) << "blank and empty lines create nothing";
}

TEST_F(AddTaskLineTest, focusTellsTheBookThatATaskIsBeingTyped)
{
    Page *other = kit.page(QStringLiteral("Other"));
    kit.editing.setFocusedPage(other);
    Page *page = kit.page(QStringLiteral("Mine"));
    QSignalSpy adding(&kit.editing, &Editing::addingChanged);
    open(page);

    EXPECT_TRUE(kit.editing.adding());
    EXPECT_EQ(kit.editing.focusedPage(), page);
    // The caret blinking in the field is drawn in the page's colour.
    const QRect caret = field->inputMethodQuery(Qt::ImCursorRectangle).toRect().adjusted(-2, 0, 2, 0);
    const QColor accent = view->accentColor();
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            const QImage shot = field->grab().toImage();
            for (int x = caret.left(); x <= caret.right(); ++x)
                if (shot.pixelColor(x, caret.center().y()).rgb() == accent.rgb())
                    return true;
            return false;
        },
        1500));
    view->header()->titleField()->setFocus(Qt::MouseFocusReason);
    settle();
    EXPECT_FALSE(kit.editing.adding());
    EXPECT_EQ(kit.editing.focusedPage(), page) << "the focused page stays until another takes it";
    EXPECT_EQ(adding.count(), 2);
}

TEST_F(AddTaskLineTest, theLineComesIntoSightAMomentAfterAddingStartsAndStaysThereAsTasksAreTyped)
{
    // A page taller than the window, then a few more: each new row pushes
    // the line down, and the page must follow it.
    Page *page = kit.page(QStringLiteral("Full"),
        { "a", "b", "c", "d", "e", "f", "g", "h", "i", "j", "k", "l", "m", "n", "o", "p", "q", "r", "s", "t", "u", "v",
            "w", "x", "y", "z" });
    view = std::make_unique<PageView>(page, 1, 1, PageActions {}, kit.services(), &kit.editing);
    ASSERT_TRUE(showActive(*view));
    const QWidget *viewport = view->scrollArea()->viewport();
    QScrollBar *bar = view->scrollArea()->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0) << "26 rows do not fit on the page";
    ASSERT_EQ(bar->value(), 0);

    kit.editing.setAdding(true);
    settle(100);
    EXPECT_EQ(bar->value(), 0) << "not at once";
    settle(400);
    AddTaskRow *row = view->addRow();
    EXPECT_EQ(row->mapTo(viewport, QPoint(0, row->height())).y(), viewport->height())
        << "the add line sits at the bottom of the view";

    field = row->field();
    field->setFocus(Qt::MouseFocusReason);
    for (int i = 1; i <= 6; ++i) {
        QTest::keyClicks(field, QStringLiteral("task %1").arg(i));
        QTest::keyClick(field, Qt::Key_Return);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !view->list()->isMoving(); }, 3000));
        ASSERT_TRUE(viewport->rect().contains(QRect(row->mapTo(viewport, QPoint()), row->size())))
            << "after task " << i;
    }
    EXPECT_EQ(page->sortedTasks().size(), 32);
}
