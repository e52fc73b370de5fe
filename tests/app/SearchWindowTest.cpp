// Search in the assembled window: Ctrl+F, typing, moving through the
// results with the keys, and choosing one.
#include "app/QuilleryApp.h"
#include "core/app/Preferences.h"
#include "core/model/Page.h"
#include "ui/app/MainWindow.h"
#include "ui/book/BookView.h"
#include "ui/card/TaskCard.h"
#include "ui/card/TaskCardHost.h"
#include "ui/pages/PageView.h"
#include "ui/pages/TaskListView.h"
#include "ui/search/SearchPanel.h"
#include "ui/search/SearchResultsModel.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <gtest/gtest.h>

using namespace quillery;

TEST(SearchWindow, keysMoveThroughTheResultsAndReturnTurnsToTheTaskAndOpensItsCard)
{
    QTemporaryDir dir;
    QuilleryApp app({ dir.filePath(QStringLiteral("book.sqlite")), dir.filePath(QStringLiteral("pending.json")) });
    StoreOpenError error;
    ASSERT_TRUE(app.start(&error)) << error.message().toStdString();
    QList<Page *> pages;
    for (const char *title : { "Errands", "Trip", "Work" }) {
        pages << new Page(double(pages.size() + 1), int(pages.size()));
        app.store().insert(pages.last());
        pages.last()->setTitle(QString::fromUtf8(title));
    }
    addTask(QStringLiteral("Pay rent"), 0, pages[0], app.store())->setNotes(QStringLiteral("ask at the café"));
    TaskItem *coffee = addTask(QStringLiteral("Café with Ana"), 0, pages[2], app.store());
    coffee->setDone(true);
    addTask(QStringLiteral("Slides"), 0, pages[2], app.store())->setPlaceName(QStringLiteral("Cafe Central"));
    app.preferences().setHideCompleted(true);

    ui::MainWindow &window = app.window();
    ui::BookView &bookView = app.bookView();
    ui::SearchPanel &search = app.searchPanel();
    EXPECT_TRUE(window.toolBar()->actions().contains(search.action()));
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.activateWindow();
    bookView.setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return bookView.hasFocus(); }));

    // Nothing found, then Escape: the keyboard goes back to the book.
    QTest::keyClick(&window, Qt::Key_F, Qt::ControlModifier);
    ASSERT_TRUE(search.isVisible());
    ASSERT_TRUE(search.field()->hasFocus());
    QTest::keyClicks(search.field(), QStringLiteral("zzz"));
    EXPECT_TRUE(search.findChild<QLabel *>()->isVisible()) << "No Results";
    QTest::keyClick(search.field(), Qt::Key_Escape);
    EXPECT_FALSE(search.isVisible());
    EXPECT_TRUE(bookView.hasFocus());

    // Open again: the old query is selected, so typing replaces it. The
    // current page comes first; the page headers are passed over.
    QTest::keyClick(&window, Qt::Key_F, Qt::ControlModifier);
    QTest::keyClicks(search.field(), QStringLiteral("CAFE"));
    const ui::SearchResultsModel &results = search.results();
    ASSERT_EQ(results.rowCount(), 5);
    const auto selected = [&] { return search.list()->currentIndex().data().toString(); };
    EXPECT_EQ(selected(), QStringLiteral("Pay rent"));
    QTest::keyClick(search.field(), Qt::Key_Down);
    EXPECT_EQ(selected(), QStringLiteral("Café with Ana, done"));
    QTest::keyClick(search.field(), Qt::Key_Down);
    QTest::keyClick(search.field(), Qt::Key_Down);
    EXPECT_EQ(selected(), QStringLiteral("Slides")) << "the last result stays chosen";
    QTest::keyClick(search.field(), Qt::Key_Up);
    EXPECT_EQ(selected(), QStringLiteral("Café with Ana, done"));

    // Return: the book turns (skipping the trip) and the done task's card
    // opens on its page, shown there though completed tasks are hidden.
    Book &book = bookView.book();
    QTest::keyClick(search.field(), Qt::Key_Return);
    EXPECT_FALSE(search.isVisible());
    EXPECT_TRUE(book.dir()) << "the page turns as it always does";
    ASSERT_TRUE(QTest::qWaitFor([&] { return app.cards().current(); }, 3000));
    EXPECT_EQ(app.cards().current()->task(), coffee);
    EXPECT_EQ(book.currentPage(), pages[2]);
    ASSERT_TRUE(QTest::qWaitFor([&] {
        ui::PageView *view = bookView.currentPageView();
        return view && view->list()->shownTasks().contains(coffee);
    }));
}
