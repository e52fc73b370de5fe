// The whole program in-process, as a user meets it: an empty book, tasks typed
// on the first page, a reminder set on the card that really rings on the
// desktop bus, a tick, turning to a new page and back, a page torn out, quit,
// and a second start that finds everything as it was left.
#include "../platform/notifications/TestNotificationServer.h"

#include "app/QuilleryApp.h"
#include "core/model/Page.h"
#include "core/model/TaskItem.h"
#include "ui/app/BookMenu.h"
#include "ui/app/MainWindow.h"
#include "ui/book/BookView.h"
#include "ui/card/TaskCard.h"
#include "ui/card/TaskCardHost.h"
#include "ui/pages/AddTaskRow.h"
#include "ui/pages/PageView.h"
#include "ui/tasks/TaskRow.h"
#include "ui/tasks/TaskRowCheck.h"

#include <QAbstractButton>
#include <QDBusConnection>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeEdit>
#include <gtest/gtest.h>

using namespace quillery;

namespace {

struct TaskState {
    QString text;
    int indent = 0;
    bool done = false;
    std::optional<QDateTime> due;
    std::optional<QDateTime> alarm;
    bool operator==(const TaskState &) const = default;
};

QList<TaskState> tasksOf(Page *page)
{
    QList<TaskState> states;
    for (TaskItem *task : page->sortedTasks())
        states.append({ task->text(), task->indent(), task->done(), task->due(), task->alarm() });
    return states;
}

ui::TaskRow *rowFor(ui::PageView *view, const QString &text)
{
    for (ui::TaskRow *row : view->findChildren<ui::TaskRow *>())
        if (row->task() && row->task()->text() == text && row->isVisible())
            return row;
    return nullptr;
}

template <typename T> T *namedChild(QWidget *parent, const QString &name)
{
    for (T *child : parent->findChildren<T *>())
        if (child->isVisible() && (child->accessibleName() == name || child->property("text").toString() == name))
            return child;
    return nullptr;
}

void typeTask(QLineEdit *field, const QString &text)
{
    field->setFocus();
    QTest::keyClicks(field, text);
    QTest::keyClick(field, Qt::Key_Return);
}

} // namespace

TEST(EndToEnd, aDayWithTheBookSurvivesQuittingAndStartingAgain)
{
    if (!QDBusConnection::sessionBus().isConnected())
        GTEST_SKIP() << "no D-Bus session bus (run the tests through scripts/run-tests.sh)";
    TestNotificationServer desktop;
    ASSERT_TRUE(desktop.start());
    // The program's clock: a morning, so "today" and the reminder a minute
    // later fall on the same day, and the minute passes at once.
    ManualClock clock(QDateTime(QDate(2031, 5, 14), QTime(10, 0)));

    QTemporaryDir dir;
    const QuilleryApp::Options paths { dir.filePath(QStringLiteral("book.sqlite")),
        dir.filePath(QStringLiteral("pending.json")), &clock };

    QString firstPageID;
    QList<TaskState> before;
    {
        QuilleryApp app(paths);
        StoreOpenError error;
        ASSERT_TRUE(app.start(&error)) << error.message().toStdString();
        ui::MainWindow &window = app.window();
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        ui::BookView &bookView = app.bookView();
        Book &book = bookView.book();

        // The empty book gets its first page once the start-up delay is over.
        ASSERT_TRUE(QTest::qWaitFor([&] { return book.pageCount() == 1 && bookView.currentPageView(); }, 5000));
        ui::PageView *view = bookView.currentPageView();
        Page *page = book.pageAt(0);
        firstPageID = page->id().toString();

        // Three tasks, the last typed with a leading space as a subtask.
        auto *add = view->findChild<ui::AddTaskRow *>();
        ASSERT_TRUE(add);
        typeTask(add->field(), QStringLiteral("Alpha"));
        typeTask(add->field(), QStringLiteral("Gamma"));
        typeTask(add->field(), QStringLiteral(" Beta"));
        ASSERT_EQ(page->sortedTasks().size(), 3);
        EXPECT_EQ(page->sortedTasks().at(2)->indent(), 1);
        EXPECT_EQ(page->sortedTasks().at(2)->text(), QStringLiteral("Beta"));

        // The card: Today, a reminder, a time in the next minute.
        ASSERT_TRUE(QTest::qWaitFor([&] { return rowFor(view, QStringLiteral("Alpha")); }, 2000));
        ui::TaskRow *alphaRow = rowFor(view, QStringLiteral("Alpha"));
        QTest::mouseClick(alphaRow, Qt::LeftButton, {}, QPoint(alphaRow->width() / 2, alphaRow->height() / 2));
        ASSERT_TRUE(QTest::qWaitFor([&] { return app.cards().current(); }, 2000)) << "clicking a row opens its card";
        ui::TaskCard *card = app.cards().current();
        TaskItem *alpha = page->sortedTasks().at(0);
        ASSERT_EQ(card->task(), alpha);
        auto *today = namedChild<QAbstractButton>(card, QStringLiteral("Today"));
        ASSERT_TRUE(today);
        today->click();
        ASSERT_TRUE(alpha->due());
        auto *remind = namedChild<QAbstractButton>(card, QStringLiteral("Remind me"));
        ASSERT_TRUE(remind);
        remind->click();
        ASSERT_TRUE(alpha->alarm()) << "switching the reminder on sets a time";
        auto *time = namedChild<QTimeEdit>(card, QStringLiteral("Time"));
        ASSERT_TRUE(time);
        const QTime ring = clock.now().toLocalTime().time().addSecs(60);
        time->setTime(QTime(ring.hour(), ring.minute()));
        ASSERT_TRUE(alpha->alarm());
        EXPECT_EQ(alpha->alarm()->time().minute(), ring.minute());
        QTest::keyClick(card, Qt::Key_Escape);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !app.cards().current(); }, 2000)) << "Escape closes the card";

        // A tick on Gamma.
        ui::TaskRow *gammaRow = rowFor(view, QStringLiteral("Gamma"));
        ASSERT_TRUE(gammaRow);
        auto *check = gammaRow->findChild<ui::TaskRowCheck *>();
        ASSERT_TRUE(check);
        QTest::mouseClick(check, Qt::LeftButton);
        EXPECT_TRUE(page->sortedTasks().at(1)->done());

        // To a new page and back, with the keyboard.
        window.activateWindow();
        QTest::keyClick(window.windowHandle(), Qt::Key_Right);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !book.dir() && book.currentIndex() == 1; }, 3000));
        EXPECT_EQ(book.pageCount(), 2) << "turning past the last page made a new one";
        QTest::keyClick(window.windowHandle(), Qt::Key_Left);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !book.dir() && book.currentIndex() == 0; }, 3000));

        // Tear out the new page: the book is one page again, still on the first.
        book.tearOut(1);
        ASSERT_TRUE(QTest::qWaitFor([&] { return book.pageCount() == 1; }, 2000));
        EXPECT_EQ(book.pageAt(0)->id().toString(), firstPageID);

        // The reminder rings on the desktop once its minute has come.
        clock.advance(61'000);
        EXPECT_TRUE(QTest::qWaitFor([&] { return desktop.summaries().contains(QStringLiteral("Alpha")); }, 5000))
            << "the reminder reached the notification server; it saw " << desktop.summaries().join(u", ").toStdString();

        before = tasksOf(page);
        window.bookMenu()->quitAction()->trigger();
    }

    // Started again: the same book, the same current page, every field.
    QuilleryApp again(paths);
    StoreOpenError error;
    ASSERT_TRUE(again.start(&error)) << error.message().toStdString();
    again.window().show();
    Book &book = again.bookView().book();
    ASSERT_TRUE(QTest::qWaitFor([&] { return book.pageCount() >= 1; }, 3000));
    QTest::qWait(1500); // past the start-up delay: an empty-looking book would get a page now
    ASSERT_EQ(book.pageCount(), 1);
    EXPECT_EQ(book.pageAt(book.currentIndex())->id().toString(), firstPageID);
    EXPECT_EQ(tasksOf(book.pageAt(0)), before);
    ASSERT_EQ(before.size(), 3);
    EXPECT_TRUE(before.at(1).done);
    EXPECT_TRUE(before.at(0).alarm);
}
