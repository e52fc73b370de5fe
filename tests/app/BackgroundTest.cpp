// Reminders with the window closed: the program runs on without its window,
// reminders ring on the desktop bus, and what the user chooses on them
// reaches the book; clicking one brings the window back at the task.
#include "../platform/notifications/TestNotificationServer.h"

#include "app/QuilleryApp.h"
#include "app/SafeQuit.h"
#include "core/model/Page.h"
#include "core/model/TaskItem.h"
#include "platform/session/LoginItem.h"
#include "ui/app/BookMenu.h"
#include "ui/app/MainWindow.h"
#include "ui/book/BookView.h"
#include "ui/card/TaskCard.h"
#include "ui/card/TaskCardHost.h"

#include <QApplication>
#include <QDBusConnection>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace quillery;

namespace {

class Background : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!QDBusConnection::sessionBus().isConnected())
            GTEST_SKIP() << "no D-Bus session bus (run the tests through scripts/run-tests.sh)";
        desktop.setCapabilities({ QStringLiteral("body"), QStringLiteral("actions") });
        ASSERT_TRUE(desktop.start());
        app = std::make_unique<QuilleryApp>(QuilleryApp::Options {
            dir.filePath(QStringLiteral("book.sqlite")), dir.filePath(QStringLiteral("pending.json")), &clock });
        StoreOpenError error;
        ASSERT_TRUE(app->start(&error)) << error.message().toStdString();
        QObject::connect(&app->safeQuit(), &SafeQuit::finished, [this](int status) { exitStatus = status; });
        app->window().show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&app->window()));
        Book &book = app->bookView().book();
        ASSERT_TRUE(QTest::qWaitFor([&] { return book.pageCount() == 1; }, 5000));
        page = book.pageAt(0);
    }

    TaskItem *remind(const QString &text, int seconds, Page *on = nullptr)
    {
        TaskItem *task = addTask(text, 0, on ? on : page, app->store());
        task->setAlarm(clock.now().addSecs(seconds));
        app->alarms().schedule(task);
        return task;
    }

    TestNotificationServer desktop;
    ManualClock clock { QDateTime(QDate(2031, 5, 14), QTime(8, 0), Qt::UTC) };
    QTemporaryDir dir;
    std::unique_ptr<QuilleryApp> app;
    std::optional<int> exitStatus;
    Page *page = nullptr;
};

} // namespace

TEST_F(Background, withTheWindowClosedRemindersRingTheirActionsReachTheBookAndAClickOpensTheTask)
{
    app->preferences().setKeepRemindersWhenClosed(true);
    TaskItem *water = remind(QStringLiteral("Water plants"), 60);
    TaskItem *call = remind(QStringLiteral("Call Ann"), 60);
    TaskItem *rent = remind(QStringLiteral("Pay rent"), 60);
    const CalendarContext user(clock);
    const QDateTime today = user.startOfDay(clock.now());
    rent->setDue(today);
    TaskItem *old = remind(QStringLiteral("Old"), 60);
    const QUuid oldID = old->id();
    auto *second = new Page(2, 1);
    app->store().insert(second);
    TaskItem *read = remind(QStringLiteral("Read chapter 3"), 60, second);

    app->window().close();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !app->hasWindow(); }, 3000));
    QTest::qWait(50); // the widgets are deleted on the event loop
    EXPECT_FALSE(exitStatus) << "the program runs on";
    const QWidgetList left = QApplication::topLevelWidgets();
    EXPECT_FALSE(std::any_of(left.begin(), left.end(), [](QWidget *w) { return qobject_cast<ui::MainWindow *>(w); }))
        << "no window left behind";

    clock.advance(61'000);
    ASSERT_TRUE(QTest::qWaitFor([&] { return desktop.calls().size() == 5; }, 5000))
        << desktop.summaries().join(u", ").toStdString();
    EXPECT_TRUE(desktop.calls().first().actions.contains(QStringLiteral("Mark as Done")));

    const uint waterID = desktop.idOf(QStringLiteral("Water plants"));
    desktop.invokeAction(waterID, QStringLiteral("done"));
    desktop.invokeAction(desktop.idOf(QStringLiteral("Call Ann")), QStringLiteral("snooze"));
    desktop.invokeAction(desktop.idOf(QStringLiteral("Pay rent")), QStringLiteral("tomorrow"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return water->done(); }, 3000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return desktop.closed().contains(waterID); }, 3000))
        << "a ticked task's notification is withdrawn";
    ASSERT_TRUE(QTest::qWaitFor([&] { return call->alarm() != rent->alarm(); }, 3000));
    EXPECT_EQ(call->alarm(), QDateTime(QDate(2031, 5, 14), QTime(8, 11), Qt::UTC));
    EXPECT_EQ(rent->alarm(), QDateTime(QDate(2031, 5, 15), QTime(8, 1), Qt::UTC));
    EXPECT_EQ(rent->due(), user.startOfDayAfter(today, 1));

    // Gone meanwhile (another device removed it): the notification closes.
    const uint oldNotification = desktop.idOf(QStringLiteral("Old"));
    app->store().remove(old);
    desktop.invokeAction(oldNotification, QStringLiteral("done"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return desktop.closed().contains(oldNotification); }, 3000));
    EXPECT_FALSE(app->store().task(oldID));

    // The snoozed reminder rings again ten minutes on, still without a window.
    clock.advance(10 * 60'000);
    EXPECT_TRUE(QTest::qWaitFor([&] { return desktop.summaries().count(QStringLiteral("Call Ann")) == 2; }, 5000));
    EXPECT_FALSE(app->hasWindow());
    EXPECT_FALSE(exitStatus);

    // A click on a reminder brings the window back at the task, card open.
    desktop.invokeAction(desktop.idOf(QStringLiteral("Read chapter 3")), QStringLiteral("default"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return app->hasWindow() && app->cards().current(); }, 5000));
    EXPECT_TRUE(app->window().isVisible());
    EXPECT_EQ(app->cards().current()->task(), read);
    EXPECT_EQ(app->bookView().book().currentPage(), second);
}

TEST_F(Background, withRemindersNotKeptClosingTheWindowEndsTheProgram)
{
    app->window().bookMenu()->keepRemindersAction()->trigger();
    EXPECT_FALSE(app->preferences().keepRemindersWhenClosed());
    app->window().close();
    ASSERT_TRUE(QTest::qWaitFor([&] { return exitStatus.has_value(); }, 3000));
    EXPECT_EQ(*exitStatus, SafeQuit::Saved);
    app->preferences().setKeepRemindersWhenClosed(true);
}

TEST_F(Background, startAtLoginWritesAValidAutostartEntryAndRemovesItAgain)
{
    ASSERT_FALSE(LoginItem::isSandboxed());
    const QString entry = app->loginItem().entryPath();
    EXPECT_TRUE(entry.startsWith(qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/autostart/")));
    app->preferences().setStartAtLogin(false);
    QAction *item = app->window().bookMenu()->startAtLoginAction();
    item->trigger();
    ASSERT_TRUE(QFile::exists(entry));

    QProcess validate;
    validate.start(QStringLiteral("desktop-file-validate"), { entry });
    ASSERT_TRUE(validate.waitForFinished(10'000)) << "desktop-file-validate (desktop-file-utils) runs";
    EXPECT_EQ(validate.exitCode(), 0);
    EXPECT_EQ(validate.readAll(), QByteArray());
    QFile file(entry);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains("\nExec=quillery --background\n"));

    item->trigger();
    EXPECT_FALSE(QFile::exists(entry));
    EXPECT_FALSE(app->preferences().startAtLogin());
}
