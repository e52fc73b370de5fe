// The program put together in-process: the window shows the book, and the
// Book menu, the toolbar and the book meet on one command broadcast.
#include "app/QuilleryApp.h"
#include "core/model/Page.h"
#include "ui/app/BookMenu.h"
#include "ui/app/MainWindow.h"
#include "ui/book/BookView.h"

#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace quillery;

TEST(AppWindow, theWindowShowsTheBookAndItsCommandsTurnIt)
{
    QTemporaryDir dir;
    QuilleryApp app({ dir.filePath(QStringLiteral("book.sqlite")), dir.filePath(QStringLiteral("pending.json")) });
    StoreOpenError error;
    ASSERT_TRUE(app.start(&error)) << error.message().toStdString();
    for (int i = 1; i <= 2; ++i) {
        auto *page = new Page(i, i);
        app.store().insert(page);
        page->setTitle(QStringLiteral("Page %1").arg(i));
    }
    ui::MainWindow &window = app.window();
    EXPECT_EQ(window.centralWidget(), &app.bookView());
    ASSERT_TRUE(window.bookMenu());
    EXPECT_EQ(window.menuBar()->actions().first()->menu(), window.bookMenu());

    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    Book &book = app.bookView().book();
    EXPECT_EQ(book.currentIndex(), 0);
    window.bookMenu()->nextAction()->trigger();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !book.dir() && book.currentIndex() == 1; }, 3000));
    window.allPagesAction()->trigger();
    EXPECT_TRUE(book.showContents());
}
