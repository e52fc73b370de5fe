// Every control of the assembled window can be named by assistive technology:
// the page, the menus and toolbar, the contents overlay and the task card.
#include "../support/A11yAudit.h"
#include "support/PageTestKit.h"

#include "app/QuilleryApp.h"
#include "core/model/Page.h"
#include "core/model/TaskItem.h"
#include "ui/app/MainWindow.h"
#include "ui/book/BookView.h"
#include "ui/card/TaskCard.h"
#include "ui/card/TaskCardHost.h"

#include <QAccessible>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace quillery;
using namespace quillery::test;

namespace {

::testing::AssertionResult everyControlNamed(const QWidget &root)
{
    const QList<QWidget *> unlabelled = unlabelledControls(&root);
    if (unlabelled.isEmpty())
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << unlabelled.size() << " controls without an accessible name:\n"
                                         << describeControls(unlabelled, &root).toStdString();
}

} // namespace

TEST(WindowAccessibility, theBookItsMenusTheContentsAndTheCardAreNamed)
{
    QTemporaryDir dir;
    QuilleryApp app({ dir.filePath(QStringLiteral("book.sqlite")), dir.filePath(QStringLiteral("pending.json")) });
    StoreOpenError error;
    ASSERT_TRUE(app.start(&error)) << error.message().toStdString();
    auto *page = new Page(1, 0);
    app.store().insert(page);
    page->setTitle(QStringLiteral("Errands"));
    TaskItem *task = addTask(QStringLiteral("Post the parcel"), 0, page, app.store());
    task->setDue(QDateTime::currentDateTime().addDays(1));
    task->setAlarm(QDateTime::currentDateTime().addDays(1));
    addTask(QStringLiteral("Pharmacy"), 1, page, app.store());

    ui::MainWindow &window = app.window();
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    ui::BookView &bookView = app.bookView();
    ASSERT_TRUE(QTest::qWaitFor([&] { return bookView.currentPageView(); }, 3000));
    EXPECT_TRUE(everyControlNamed(window)) << "the window with a page";
    // Window lists and screen readers name the window by its title.
    const QAccessibleInterface *named = QAccessible::queryAccessibleInterface(&window);
    ASSERT_TRUE(named);
    EXPECT_FALSE(named->text(QAccessible::Name).trimmed().isEmpty()) << "the window itself";

    for (QAction *action : window.menuBar()->actions()) {
        ASSERT_TRUE(action->menu());
        EXPECT_EQ(unlabelledMenuItems(action->menu()), QStringList {}) << action->text().toStdString();
    }

    bookView.book().setShowContents(true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return bookView.contentsOverlay(); }, 2000));
    ASSERT_TRUE(waitUntilStill(window)); // past the entrance
    EXPECT_TRUE(everyControlNamed(window)) << "the contents overlay";
    bookView.book().setShowContents(false);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !bookView.contentsOverlay(); }, 2000));

    ui::TaskCard *card = app.cards().open(task, &window);
    ASSERT_TRUE(card);
    ASSERT_TRUE(waitUntilStill(window)); // past the slide-in
    EXPECT_TRUE(everyControlNamed(window)) << "the task card";
    card->dismiss();
}
