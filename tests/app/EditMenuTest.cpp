// The Edit menu in the assembled window: it names the step it takes back or
// does again, Ctrl+Z outside a field undoes the book's last step, and a text
// field with typing of its own to take back takes it back first.
#include "ui/app/EditMenu.h"
#include "app/QuilleryApp.h"
#include "core/model/Page.h"
#include "core/model/TaskItem.h"
#include "gui/history/UndoHistory.h"
#include "ui/app/MainWindow.h"
#include "ui/book/BookView.h"

#include <QLineEdit>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace quillery;

TEST(EditMenu, undoAndRedoFollowTheStepsTakenInTheWindow)
{
    QTemporaryDir dir;
    QuilleryApp app({ dir.filePath(QStringLiteral("book.sqlite")), dir.filePath(QStringLiteral("pending.json")) });
    StoreOpenError error;
    ASSERT_TRUE(app.start(&error)) << error.message().toStdString();
    auto *page = new Page(1, 0);
    app.store().insert(page);
    app.history().commit();
    app.history().stack().clear();

    ui::MainWindow &window = app.window();
    QStringList menus;
    for (QAction *action : window.menuBar()->actions())
        menus << action->text().remove(u'&');
    EXPECT_EQ(menus, QStringList({ "Book", "Edit", "Help" }));
    auto *edit = window.findChild<ui::EditMenu *>(QStringLiteral("editMenu"));
    ASSERT_TRUE(edit);
    EXPECT_FALSE(edit->undoAction()->isEnabled());
    EXPECT_FALSE(edit->redoAction()->isEnabled());

    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    auto *title = app.bookView().findChild<QLineEdit *>(QStringLiteral("pageTitleField"));
    auto *add = app.bookView().findChild<QLineEdit *>(QStringLiteral("addTaskField"));
    ASSERT_TRUE(title && add);

    title->setFocus();
    QTest::keyClicks(title, QStringLiteral("Errands"));
    add->setFocus();
    QTest::keyClicks(add, QStringLiteral("Milk"));
    QTest::keyClick(add, Qt::Key_Return);
    ASSERT_EQ(page->sortedTasks().size(), 1);
    const QUuid milk = page->sortedTasks().first()->id();
    Q_EMIT edit->aboutToShow();
    EXPECT_EQ(edit->undoAction()->text(), QStringLiteral("Undo Add Task"));

    QTest::keyClick(add, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(page->sortedTasks().isEmpty());
    EXPECT_EQ(edit->undoAction()->text(), QStringLiteral("Undo Rename Page"));
    EXPECT_EQ(edit->redoAction()->text(), QStringLiteral("Redo Add Task"));
    app.bookView().setFocus();
    QTest::keyClick(&window, Qt::Key_Y, Qt::ControlModifier);
    ASSERT_EQ(page->sortedTasks().size(), 1);
    EXPECT_EQ(page->sortedTasks().first()->id(), milk);

    // Typing takes itself back in the field, then the keys reach the book.
    title->setFocus();
    title->end(false);
    QTest::keyClicks(title, QStringLiteral(" today"));
    EXPECT_EQ(page->title(), QStringLiteral("Errands today"));
    QTest::keyClick(title, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(page->title(), QStringLiteral("Errands"));
    QTest::keyClick(title, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(page->title(), QStringLiteral("Errands"));
    EXPECT_TRUE(page->sortedTasks().isEmpty());
}
