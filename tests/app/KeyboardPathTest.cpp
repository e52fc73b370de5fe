// The assembled window worked with keys alone, as someone without a mouse
// meets it: every key goes to the window that has the focus, through the
// window system's path (shortcuts included), and the store is read back at
// the end.
#include "../platform/notifications/TestNotificationServer.h"

#include "app/QuilleryApp.h"
#include "core/book/Book.h"
#include "core/model/Page.h"
#include "core/model/Store.h"
#include "core/model/TaskItem.h"
#include "support/Screenshot.h"
#include "ui/app/MainWindow.h"
#include "ui/book/BookView.h"
#include "ui/card/TaskCard.h"
#include "ui/card/TaskCardHost.h"
#include "ui/tasks/TaskRow.h"

#include <QApplication>
#include <QDBusConnection>
#include <QLineEdit>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeEdit>
#include <gtest/gtest.h>

using namespace quillery;

namespace {

void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QWindow *target = QGuiApplication::focusWindow();
    ASSERT_TRUE(target) << "no window has the keyboard";
    QTest::keyClick(target, Qt::Key(key), modifiers);
}

void type(const QString &text)
{
    for (const QChar c : text)
        QTest::keyClick(QGuiApplication::focusWindow(), c.toLatin1());
}

// Tabs (or back-tabs) until `wanted` holds for the focused widget; fails,
// naming the widgets passed, when it never does within a lap.
template <typename Wanted>::testing::AssertionResult tabTo(Wanted wanted, bool backwards = false)
{
    QStringList passed;
    for (int step = 0; step < 60; ++step) {
        QWidget *focus = QApplication::focusWidget();
        if (focus && wanted(focus))
            return ::testing::AssertionSuccess();
        passed << (focus ? QString::fromLatin1(focus->metaObject()->className()) + u':' + focus->objectName()
                         : QStringLiteral("(none)"));
        QTest::keyClick(QGuiApplication::focusWindow(), backwards ? Qt::Key_Backtab : Qt::Key_Tab,
            backwards ? Qt::ShiftModifier : Qt::NoModifier);
    }
    passed.removeDuplicates();
    return ::testing::AssertionFailure() << "passed " << passed.join(u", ").toStdString();
}

auto named(const char *objectName)
{
    return [name = QString::fromLatin1(objectName)](QWidget *w) {
        for (; w; w = w->parentWidget())
            if (w->objectName() == name)
                return true;
        return false;
    };
}

ui::TaskRow *focusedRow()
{
    for (QWidget *w = QApplication::focusWidget(); w; w = w->parentWidget())
        if (auto *row = qobject_cast<ui::TaskRow *>(w))
            return row;
    return nullptr;
}

} // namespace

TEST(KeyboardPath, aFreshBookIsWorkedWithKeysAlone)
{
    // A desktop that lets Quillery notify, so turning on a reminder asks
    // nothing.
    if (!QDBusConnection::sessionBus().isConnected())
        GTEST_SKIP() << "no D-Bus session bus (run the tests through scripts/run-tests.sh)";
    TestNotificationServer desktop;
    ASSERT_TRUE(desktop.start());
    ManualClock clock(QDateTime(QDate(2031, 5, 14), QTime(10, 0)));
    QTemporaryDir dir;
    const QString bookFile = dir.filePath(QStringLiteral("book.sqlite"));
    QuilleryApp app({ bookFile, dir.filePath(QStringLiteral("pending.json")), &clock });
    StoreOpenError error;
    ASSERT_TRUE(app.start(&error)) << error.message().toStdString();
    ui::MainWindow &window = app.window();
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    ui::BookView &bookView = app.bookView();
    Book &book = bookView.book();
    ASSERT_TRUE(QTest::qWaitFor([&] { return book.pageCount() == 1 && bookView.currentPageView(); }, 5000));
    Page *page = book.pageAt(0);

    // Two tasks typed on the add line; Return on the empty line ends adding.
    ASSERT_TRUE(tabTo(named("addTaskField")));
    type(QStringLiteral("Buy stamps"));
    press(Qt::Key_Return);
    type(QStringLiteral("Post letters"));
    press(Qt::Key_Return);
    press(Qt::Key_Return);
    ASSERT_EQ(page->sortedTasks().size(), 2);
    TaskItem *stamps = page->sortedTasks().at(0);

    // Back to the first task's row: it shows it has the keys, and Return
    // opens its card.
    ASSERT_TRUE(tabTo([&](QWidget *) { return focusedRow() && focusedRow()->task() == stamps; }, true));
    ui::TaskRow *row = focusedRow();
    EXPECT_TRUE(row->showsFocus()) << "a focus ring on the row";
    test::saveScreenshot(QStringLiteral("desk-focus"), window);
    press(Qt::Key_Return);
    ASSERT_TRUE(QTest::qWaitFor([&] { return app.cards().current(); }, 2000)) << "Return opens the card";
    ui::TaskCard *card = app.cards().current();
    ASSERT_EQ(card->task(), stamps);

    // Tomorrow, a reminder at 17:30 and a note, each reached with Tab.
    ASSERT_TRUE(tabTo(named("tomorrowPill")));
    press(Qt::Key_Space);
    ASSERT_TRUE(stamps->due());
    EXPECT_EQ(stamps->due()->toLocalTime().date(), QDate(2031, 5, 15));
    ASSERT_TRUE(tabTo(named("remindSwitch")));
    press(Qt::Key_Space);
    ASSERT_TRUE(stamps->alarm()) << "the reminder is on";
    ASSERT_TRUE(tabTo(named("timePicker")));
    const bool twelveHour = card->findChild<QTimeEdit *>()->displayFormat().contains(u'A', Qt::CaseInsensitive);
    type(twelveHour ? QStringLiteral("530p") : QStringLiteral("1730"));
    ASSERT_TRUE(tabTo(named("notesField")));
    type(QStringLiteral("Second class"));
    EXPECT_EQ(stamps->alarm()->toLocalTime().time(), QTime(17, 30)) << "the time is taken as the field is left";
    EXPECT_EQ(stamps->notes(), QStringLiteral("Second class"));

    // Escape closes the card and gives the keys back to the row.
    press(Qt::Key_Escape);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !app.cards().current(); }, 2000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return focusedRow() && focusedRow()->task() == stamps; }, 2000))
        << "the focus is back on the row, not lost";

    // Alt+Down moves it below the other task.
    press(Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(QTest::qWaitFor([&] { return page->sortedTasks().last() == stamps; }, 2000));

    // F2 edits the text in place: Escape takes an edit back, Return keeps it.
    press(Qt::Key_F2);
    row = focusedRow();
    ASSERT_TRUE(row && row->titleEditor() && QApplication::focusWidget() == static_cast<QWidget *>(row->titleEditor()));
    type(QStringLiteral("Nonsense"));
    press(Qt::Key_Escape);
    EXPECT_EQ(stamps->text(), QStringLiteral("Buy stamps"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return focusedRow() && focusedRow()->task() == stamps; }, 2000));
    press(Qt::Key_F2);
    type(QStringLiteral("Buy 10 stamps"));
    press(Qt::Key_Return);
    EXPECT_EQ(stamps->text(), QStringLiteral("Buy 10 stamps"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return focusedRow() && focusedRow()->task() == stamps; }, 2000));

    // Alt+B opens the Book menu; Escape leaves it with the focus where it was.
    press(Qt::Key_B, Qt::AltModifier);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.menuBar()->activeAction(); }, 2000)) << "Alt+B opens the menu";
    press(Qt::Key_Escape);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !QApplication::activePopupWidget(); }, 2000));
    // Here a window manager would give the window back its activation; the
    // offscreen platform has none.
    if (!QGuiApplication::focusWindow()) {
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }
    // The menu bar keeps the keys until a second Escape, then gives them
    // back to the row.
    if (QApplication::focusWidget() == window.menuBar())
        press(Qt::Key_Escape);
    ASSERT_TRUE(QTest::qWaitFor([&] { return focusedRow() && focusedRow()->task() == stamps; }, 2000))
        << "the focus is back on the row, not on "
        << (QApplication::focusWidget() ? QApplication::focusWidget()->metaObject()->className() : "nothing");

    // The next page (a new one past the last), then the contents.
    press(Qt::Key_BracketRight, Qt::ControlModifier);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !book.dir() && book.currentIndex() == 1; }, 3000));
    press(Qt::Key_E, Qt::ControlModifier);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return bookView.contentsOverlay() && bookView.contentsOverlay()->isAncestorOf(QApplication::focusWidget());
        },
        3000))
        << "the contents open and take the keys";

    // Everything reached the book file.
    app.saveAll();
    const auto store = Store::open(bookFile, &error, clock);
    ASSERT_TRUE(store) << error.message().toStdString();
    ASSERT_EQ(store->pages().size(), 2);
    const QList<TaskItem *> saved = store->pages().constFirst()->sortedTasks();
    ASSERT_EQ(saved.size(), 2);
    EXPECT_EQ(saved.at(0)->text(), QStringLiteral("Post letters"));
    const TaskItem *kept = saved.at(1);
    EXPECT_EQ(kept->text(), QStringLiteral("Buy 10 stamps"));
    EXPECT_EQ(kept->due(), stamps->due());
    EXPECT_EQ(kept->alarm(), stamps->alarm());
    EXPECT_EQ(kept->notes(), QStringLiteral("Second class"));
}
