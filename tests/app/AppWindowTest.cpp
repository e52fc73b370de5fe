// The program put together in-process, its window driven as a user would:
// the menus and dialogs follow the pages into dark, the contents grow into
// view drawn all the way, the Edit menu names the step it takes back or does
// again, search moves through its results with the keys, and every control
// can be named by assistive technology. And the window in German, from the
// catalogue the build compiles: CTest runs GermanWindow.* as test_app_german
// under LANG=de_DE.UTF-8; under another language it is skipped.
#include "../support/A11yAudit.h"
#include "support/PageTestKit.h"

#include "app/QuilleryApp.h"
#include "core/app/Preferences.h"
#include "core/book/Book.h"
#include "core/model/Page.h"
#include "core/model/TaskItem.h"
#include "gui/history/UndoHistory.h"
#include "gui/theme/Appearance.h"
#include "support/Screenshot.h"
#include "ui/app/BookMenu.h"
#include "ui/app/EditMenu.h"
#include "ui/app/MainWindow.h"
#include "ui/book/BookView.h"
#include "ui/card/TaskCard.h"
#include "ui/card/TaskCardHost.h"
#include "ui/contents/ContentsGrid.h"
#include "ui/pages/PageOptionsMenu.h"
#include "ui/pages/PageView.h"
#include "ui/pages/TaskListView.h"
#include "ui/search/SearchPanel.h"
#include "ui/search/SearchResultsModel.h"
#include "ui/tasks/TaskRow.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <gtest/gtest.h>

#include <cmath>

using namespace quillery;
using namespace quillery::test;

namespace {

// The program on a new book in a folder of its own, started, on a morning
// of its own; its window is shown by each test once the book holds what it
// needs.
class AppWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        StoreOpenError error;
        ASSERT_TRUE(app.start(&error)) << error.message().toStdString();
    }

    // A page at the end of the book with `title`.
    Page *addPage(const QString &title, int colorIndex = 0)
    {
        auto *page = new Page(double(app.store().pages().size() + 1), colorIndex);
        app.store().insert(page);
        page->setTitle(title);
        return page;
    }

    ManualClock clock { QDateTime(QDate(2031, 5, 14), QTime(10, 0)) };
    QTemporaryDir dir;
    QuilleryApp app { { dir.filePath(QStringLiteral("book.sqlite")), dir.filePath(QStringLiteral("pending.json")),
        &clock } };
};

class GermanWindow : public AppWindow
{
protected:
    void SetUp() override
    {
        if (QLocale().language() != QLocale::German)
            GTEST_SKIP() << "runs under LANG=de_DE.UTF-8 (ctest -R test_app_german)";
        AppWindow::SetUp();
    }
};

// How far `frame` has come from `from` towards `to` inside `area` (0 none,
// 1 all the way), and how closely its change follows that of `to` (1 the
// same picture, 0 unrelated).
std::pair<double, double> progress(const QImage &from, const QImage &frame, const QImage &to, const QRect &area)
{
    double along = 0, total = 0, frameSquares = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const double start = qGray(from.pixel(x, y));
            const double moved = qGray(frame.pixel(x, y)) - start;
            const double whole = qGray(to.pixel(x, y)) - start;
            along += moved * whole;
            total += whole * whole;
            frameSquares += moved * moved;
        }
    }
    if (total == 0 || frameSquares == 0)
        return { 0, 0 };
    return { along / total, along / std::sqrt(total * frameSquares) };
}

QStringList texts(QWidget *root)
{
    QStringList found { root->accessibleName() };
    for (QWidget *w : root->findChildren<QWidget *>()) {
        found << w->accessibleName();
        if (const QString text = w->property("text").toString(); !text.isEmpty())
            found << text;
    }
    return found;
}

} // namespace

TEST_F(AppWindow, theMenusAndDialogsTurnDarkWithThePages)
{
    ui::MainWindow &window = app.window();
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    ASSERT_TRUE(QTest::qWaitFor([&] { return app.bookView().currentPageView(); }, 5000));
    const QPalette desktop = QApplication::palette();
    const auto dark = [](const QWidget *w) { return Appearance::schemeOfPalette(w->palette()) == ColorScheme::Dark; };
    ASSERT_FALSE(dark(window.menuBar())) << "the offscreen desktop is light";

    // The desktop asks for dark: the menu bar, the menus and a dialog made
    // afterwards all follow, not only the pages.
    app.appearance().setForcedScheme(ColorScheme::Dark);
    EXPECT_TRUE(QTest::qWaitFor([&] { return dark(window.menuBar()) && dark(window.bookMenu()); }, 2000));
    QWidget dialog;
    EXPECT_TRUE(dark(&dialog));
    window.menuBar()->setActiveAction(window.bookMenu()->menuAction());
    test::saveScreenshot(QStringLiteral("desk-dark-menu"), window);
    window.bookMenu()->hide();

    // Back to light: the desktop's own palette again, untouched.
    app.appearance().setForcedScheme(ColorScheme::Light);
    EXPECT_EQ(QApplication::palette(), desktop);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !dark(window.menuBar()) && !dark(window.bookMenu()); }, 2000));
    window.menuBar()->setActiveAction(window.bookMenu()->menuAction());
    test::saveScreenshot(QStringLiteral("desk-light-menu"), window);
    window.bookMenu()->hide();
}

TEST_F(AppWindow, theContentsGrowIntoViewWithTheirPagesDrawnAllTheWay)
{
    for (int i = 1; i <= 4; ++i)
        addPage(QStringLiteral("Page %1").arg(i), i * 2);
    ui::MainWindow &window = app.window();
    window.resize(600, 900);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QTest::qWait(200);
    const QImage before = window.grab().toImage();

    window.allPagesAction()->trigger();
    QList<QImage> frames;
    const auto moving = [&] { return app.bookView().findChild<QWidget *>(QStringLiteral("contentsTransition")); };
    while (moving() && frames.size() < 100) {
        frames << window.grab().toImage();
        QTest::qWait(15);
    }
    QTest::qWait(100);
    const QImage after = window.grab().toImage();
    auto *grid = app.bookView().contentsOverlay()->findChild<ui::ContentsGrid *>();
    ASSERT_TRUE(grid);
    ASSERT_GE(frames.size(), 4) << "the contents come in over a few frames";

    // In the frames between, the first page's cell is on its way in.
    const QRect cell(
        grid->viewport()->mapTo(&window, grid->cellRectInViewport(0).topLeft()), grid->cellRectInViewport(0).size());
    int drawn = 0;
    for (qsizetype i = 1; i + 1 < frames.size(); ++i) {
        const auto [along, alike] = progress(before, frames.at(i), after, cell);
        drawn += along > 0.15 && along < 0.95 && alike > 0.6;
    }
    EXPECT_GE(drawn, 2);
}

TEST_F(AppWindow, theEditMenusUndoAndRedoFollowTheStepsTakenInTheWindow)
{
    Page *page = addPage(QString());
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

TEST_F(AppWindow, searchKeysMoveThroughTheResultsAndReturnTurnsToTheTaskAndOpensItsCard)
{
    const QList<Page *> pages { addPage(QStringLiteral("Errands"), 0), addPage(QStringLiteral("Trip"), 1),
        addPage(QStringLiteral("Work"), 2) };
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

TEST_F(AppWindow, theBookItsMenusTheContentsAndTheCardAreNamed)
{
    Page *page = addPage(QStringLiteral("Errands"));
    TaskItem *task = addTask(QStringLiteral("Post the parcel"), 0, page, app.store());
    task->setDue(clock.now().addDays(1));
    task->setAlarm(clock.now().addDays(1));
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

TEST_F(GermanWindow, thePageMenuTheCardAndASummaryLineSpeakGerman)
{
    ui::MainWindow &window = app.window();
    window.show();
    ui::BookView &bookView = app.bookView();
    Book &book = bookView.book();
    ASSERT_TRUE(QTest::qWaitFor([&] { return book.pageCount() == 1 && bookView.currentPageView(); }, 5000));
    ui::PageView *view = bookView.currentPageView();

    EXPECT_EQ(window.bookMenu()->title(), QStringLiteral("&Buch"));
    auto *pageMenu = view->findChild<ui::PageOptionsMenu *>();
    ASSERT_TRUE(pageMenu);
    EXPECT_TRUE(pageMenu->action(QStringLiteral("Seite herausreißen")));

    // A task due tomorrow with a reminder and a note: the line under it is
    // German from end to end, the glue between its parts included.
    TaskItem *task = addTask(QStringLiteral("Briefmarken kaufen"), 0, book.pageAt(0), app.store());
    const QDateTime tomorrow(QDate(2031, 5, 15), QTime(9, 0));
    task->setDue(tomorrow);
    task->setAlarm(tomorrow);
    task->setNotes(QStringLiteral("Zweite Klasse"));
    ui::TaskRow *row = nullptr;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            for (ui::TaskRow *candidate : view->findChildren<ui::TaskRow *>())
                if (candidate->task() == task && !candidate->summaryText().isEmpty())
                    row = candidate;
            return row;
        },
        3000));
    EXPECT_EQ(row->summaryText(), QStringLiteral("Morgen um 09:00  \u00B7  Notiz"));

    app.cards().open(task, &window);
    ASSERT_TRUE(QTest::qWaitFor([&] { return app.cards().current(); }, 2000));
    const QStringList card = texts(app.cards().current());
    for (const char *german : { "Aufgabenkarte", "Morgen", "Erinnern", "Notizen", "Aufgabe löschen", "Fertig" })
        EXPECT_TRUE(card.contains(QString::fromUtf8(german))) << german;
    saveScreenshot(QStringLiteral("desk-german-card"), window);
}
