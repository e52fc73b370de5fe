// The contents overlay: choosing, adding and closing, keys, following the
// host, and staying cheap for a long book.
#include "ContentsTestKit.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QLabel>
#include <QScrollBar>
#include <gtest/gtest.h>

using namespace quillery;
using namespace quillery::ui;
using namespace quillery::test;

TEST(ContentsView, aClickedThumbnailOrTheNewPageCellIsGoneToAndClosesTheContents)
{
    ContentsKit t;
    const QList<Page *> pages = t.addPages(7); // the last one is Slate
    t.showPage(0);
    auto view = t.open();
    ContentsGrid *grid = view->grid();
    ASSERT_TRUE(grid->isVisible());
    EXPECT_EQ(view->geometry(), t.host.rect());
    EXPECT_EQ(view->countLabel()->text(), QStringLiteral("7"));

    // A press that slides off the cell before release chooses nothing.
    QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, ContentsKit::centreOf(grid, 2));
    QTest::mouseMove(grid->viewport(), QPoint(5, 5));
    QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    settle();
    EXPECT_TRUE(t.book.showContents());
    EXPECT_EQ(t.book.currentIndex(), 0);

    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, ContentsKit::centreOf(grid, 3));
    settle();
    EXPECT_EQ(t.book.currentIndex(), 3);
    EXPECT_FALSE(t.book.showContents());
    EXPECT_EQ(t.book.pageCount(), 7);

    // The new page cell adds a page at the end in the next colour.
    view.reset();
    view = t.open();
    grid = view->grid();
    ASSERT_EQ(grid->newPageCell(), 7);
    grid->scrollToCell(7);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, ContentsKit::centreOf(grid, 7));
    settle();
    ASSERT_EQ(t.book.pageCount(), 8);
    Page *added = t.book.pageAt(7);
    EXPECT_FALSE(pages.contains(added));
    EXPECT_EQ(added->colorIndex(), 0) << "after Slate the palette wraps";
    EXPECT_GT(added->position(), pages.last()->position());
    EXPECT_EQ(t.book.currentIndex(), 7);
    EXPECT_FALSE(t.book.showContents());
}

TEST(ContentsView, keysMoveThroughTheGridAndReturnChoosesWhileTheButtonAndEscapeCloseWithoutChoosing)
{
    ContentsKit t;
    t.addPages(5);
    t.showPage(1);
    auto view = t.open();
    QTest::mouseClick(view->closeButton(), Qt::LeftButton);
    settle();
    EXPECT_FALSE(t.book.showContents());
    EXPECT_EQ(t.book.currentIndex(), 1);

    view.reset();
    view = t.open();
    ASSERT_TRUE(view->grid()->hasFocus()) << "the keys go to the contents, not to the book under them";
    QTest::keyClick(view->grid(), Qt::Key_Escape);
    settle();
    EXPECT_FALSE(t.book.showContents());
    EXPECT_EQ(t.book.currentIndex(), 1);

    view.reset();
    view = t.open();
    ContentsGrid *grid = view->grid();
    EXPECT_EQ(grid->cursorCell(), 1) << "the keyboard starts on the current page";
    QTest::keyClick(grid, Qt::Key_Down); // two columns at 600 points
    EXPECT_EQ(grid->cursorCell(), 3);
    QTest::keyClick(grid, Qt::Key_Left);
    EXPECT_EQ(grid->cursorCell(), 2);
    QTest::keyClick(grid, Qt::Key_End);
    EXPECT_EQ(grid->cursorCell(), 5) << "the new page cell";
    QTest::keyClick(grid, Qt::Key_Up);
    QTest::keyClick(grid, Qt::Key_Left);
    EXPECT_EQ(grid->cursorCell(), 2);
    QTest::keyClick(grid, Qt::Key_Return);
    settle();
    EXPECT_EQ(t.book.currentIndex(), 2);
    EXPECT_FALSE(t.book.showContents());
}

TEST(ContentsView, opensOnTheCurrentPageAndFollowsTheHostsSize)
{
    ContentsKit t;
    t.addPages(40);
    t.showPage(30);
    auto view = t.open();
    ContentsGrid *grid = view->grid();
    EXPECT_TRUE(grid->viewport()->rect().contains(grid->cellRectInViewport(30))) << "scrolled to the current page";
    EXPECT_EQ(grid->cellLayout().columns(), 2);

    t.host.resize(1000, 700);
    settle();
    EXPECT_EQ(view->geometry(), t.host.rect());
    EXPECT_EQ(grid->cellLayout().columns(), 4);

    // Hidden and shown again, as a host that keeps it may do: the keyboard
    // starts on the page that is current now.
    view->hide();
    t.showPage(2);
    view->show();
    EXPECT_EQ(grid->cursorCell(), 2);
    EXPECT_TRUE(grid->hasFocus());
}

TEST(ContentsView, aLongBookDrawsOnlyTheCellsOnScreen)
{
    ContentsKit t;
    t.addPages(500);
    for (Page *page : { t.book.pageAt(0), t.book.pageAt(2), t.book.pageAt(499) })
        addTask(QStringLiteral("Something to do"), 0, page, *t.kit.store);
    t.showPage(0);
    auto view = t.open();
    ContentsGrid *grid = view->grid();

    // A handful of widgets, not one per page.
    EXPECT_LT(view->findChildren<QWidget *>().size(), 20);
    const ContentsLayout::Range painted = grid->lastPaintedCells();
    EXPECT_EQ(painted.first, 0);
    EXPECT_LE(painted.last, 8);
    EXPECT_LE(grid->thumbnailsDrawn(), 8);

    // Repainting takes the pictures from the cache; a changed page is drawn
    // again, and only that one.
    const int before = grid->thumbnailsDrawn();
    grid->viewport()->repaint();
    EXPECT_EQ(grid->thumbnailsDrawn(), before);
    t.book.pageAt(2)->sortedTasks().first()->setDone(true);
    grid->viewport()->repaint();
    EXPECT_EQ(grid->thumbnailsDrawn(), before + 1);

    // At the far end: the last page and the new page cell.
    grid->verticalScrollBar()->setValue(grid->verticalScrollBar()->maximum());
    grid->viewport()->repaint();
    EXPECT_TRUE(grid->lastPaintedCells().contains(500));
    EXPECT_TRUE(grid->lastPaintedCells().contains(499));
    EXPECT_LE(grid->thumbnailsDrawn(), 2 * 8);

    // Every page is still reachable for assistive technology.
    QAccessibleInterface *list = QAccessible::queryAccessibleInterface(grid);
    ASSERT_TRUE(list);
    EXPECT_EQ(list->childCount(), 501);
    EXPECT_EQ(list->child(249)->text(QAccessible::Name), QStringLiteral("Page 250, Page 250"));
    EXPECT_EQ(list->child(500)->text(QAccessible::Name), QStringLiteral("New page"));
    EXPECT_EQ(list->indexOfChild(list->child(123)), 123);
}

TEST(ContentsView, cellsAnnounceThemselvesAndCanBePressed)
{
    ContentsKit t;
    t.addPages(3);
    t.book.pageAt(1)->setTitle(QString());
    TaskItem *task = addTask(QStringLiteral("Buy milk"), 0, t.book.pageAt(1), *t.kit.store);
    task->setDone(true);
    addTask(QStringLiteral("Call home"), 0, t.book.pageAt(1), *t.kit.store);
    t.showPage(1);
    auto view = t.open();
    QAccessibleInterface *list = QAccessible::queryAccessibleInterface(view->grid());
    ASSERT_EQ(list->childCount(), 4);
    QAccessibleInterface *second = list->child(1);
    EXPECT_EQ(second->role(), QAccessible::Button);
    EXPECT_EQ(second->text(QAccessible::Name), QStringLiteral("Page 2, Untitled"));
    EXPECT_EQ(second->text(QAccessible::Description), QStringLiteral("2 tasks, 1 open, current page"));
    EXPECT_TRUE(second->state().selected);
    EXPECT_TRUE(second->state().focused);
    EXPECT_FALSE(list->child(0)->state().selected);
    EXPECT_EQ(list->focusChild(), second);

    QAccessibleInterface *third = list->child(2);
    third->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    settle();
    EXPECT_EQ(t.book.currentIndex(), 2);
    EXPECT_FALSE(t.book.showContents());
}
