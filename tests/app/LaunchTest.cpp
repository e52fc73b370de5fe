// Starts the real program as a user would (offscreen, with a home of its own).
#include "../platform/notifications/TestNotificationServer.h"

#include "core/alarms/AlarmRequests.h"
#include "core/model/Store.h"
#include "core/model/TaskItem.h"
#include "platform/notifications/PendingNotificationFile.h"
#include "support/FullDisk.h"

#include <SQLiteCpp/Database.h>

#include <QDBusConnection>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/stat.h>

using namespace quillery;
using ::testing::HasSubstr;

namespace {

QString program()
{
    return qEnvironmentVariable("QUILLERY_BINARY_DIR") + QStringLiteral("/bin/quillery");
}

// A home folder of its own for each launched program.
class Home
{
public:
    Home()
    {
        m_env = QProcessEnvironment::systemEnvironment();
        for (const char *name : { "HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME" })
            m_env.insert(QString::fromLatin1(name), m_dir.path());
        m_env.insert(QStringLiteral("XDG_STATE_HOME"), m_dir.filePath(QStringLiteral("state")));
        m_env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    }

    QString bookPath() const { return m_dir.filePath(QStringLiteral("Quillery/book.sqlite")); }
    QString dataDir() const { return m_env.value(QStringLiteral("XDG_DATA_HOME")) + QStringLiteral("/Quillery"); }
    QString stateDir() const { return m_env.value(QStringLiteral("XDG_STATE_HOME")) + QStringLiteral("/Quillery"); }
    void setDataHome(const QString &path) { m_env.insert(QStringLiteral("XDG_DATA_HOME"), path); }
    QProcessEnvironment &environment() { return m_env; }

    void start(QProcess &process, const QStringList &arguments = {}) const
    {
        process.setProcessEnvironment(m_env);
        process.start(program(), arguments);
        ASSERT_TRUE(process.waitForStarted(5000));
    }

private:
    QTemporaryDir m_dir;
    QProcessEnvironment m_env;
};

// The entries under `folder` (and the folder) that others may use, and the
// names of all of them.
QStringList openToOthers(const QString &folder, QSet<QString> &names)
{
    QStringList open;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    for (QString path = folder; !path.isEmpty(); path = it.hasNext() ? it.next() : QString()) {
        names << QFileInfo(path).fileName();
        if (QFileInfo(path).permissions() & QFileDevice::Permissions(0x0077))
            open << path;
    }
    return open;
}

// How a run of the program ended: its exit status (-1 when it did not end,
// or not by itself) and what it wrote.
struct Ended {
    int status = -1;
    std::string out;
    std::string err;
};

Ended runToEnd(const Home &home, const QStringList &arguments = {}, int msecs = 10'000)
{
    QProcess process;
    home.start(process, arguments);
    if (!process.waitForFinished(msecs) || process.exitStatus() != QProcess::NormalExit)
        return {};
    return { process.exitCode(), process.readAllStandardOutput().toStdString(),
        process.readAllStandardError().toStdString() };
}

} // namespace

TEST(Launch, aBookThatCannotBeOpenedStopsTheProgramWithAClearMessage)
{
    Home home;
    QDir().mkpath(home.dataDir());
    QFile book(home.bookPath());
    ASSERT_TRUE(book.open(QIODevice::WriteOnly));
    const QByteArray garbage = QByteArray("definitely not a database ").repeated(100);
    book.write(garbage);
    book.close();

    const Ended run = runToEnd(home);
    EXPECT_GT(run.status, 0);
    EXPECT_THAT(run.err, HasSubstr(home.bookPath().toStdString()));
    EXPECT_THAT(run.err, HasSubstr("not a Quillery book"));

    ASSERT_TRUE(book.open(QIODevice::ReadOnly));
    EXPECT_EQ(book.readAll(), garbage) << "the file is left exactly as it was";
}

// The window opens on the first page before the rest is read and checked:
// damage far from that page is found a moment later and ends the program as
// it would have at opening.
TEST(Launch, aBookFoundDamagedAfterItsFirstPageIsShownStopsTheProgramLikeAtOpening)
{
    Home home;
    QDir().mkpath(home.dataDir());
    const QString path = home.dataDir() + QStringLiteral("/book.sqlite");
    {
        StoreOpenError error;
        auto store = Store::open(path, &error);
        for (int p = 0; p < 3; ++p) {
            auto *page = new Page(p + 1, p);
            store->insert(page);
            for (int t = 0; t < 100; ++t)
                addTask(QStringLiteral("page %1, task %2, with a few words").arg(p).arg(t), 0, page, *store);
        }
        ASSERT_TRUE(store->save());
    }
    qint64 leaf = 0;
    {
        SQLite::Database db(path.toStdString(), SQLite::OPEN_READWRITE);
        db.exec("PRAGMA wal_checkpoint(TRUNCATE)");
        leaf = db.execAndGet("SELECT pageno FROM dbstat WHERE name = 'task' AND pagetype = 'leaf' ORDER BY path DESC")
                   .getInt64();
    }
    QFile book(path);
    ASSERT_TRUE(book.open(QIODevice::ReadWrite));
    book.seek((leaf - 1) * 4096);
    book.write(QByteArray(4096, '\xA5'));
    book.close();

    const Ended run = runToEnd(home, {}, 20'000);
    EXPECT_EQ(run.status, 2);
    EXPECT_THAT(run.err, HasSubstr(path.toStdString()));
    EXPECT_THAT(run.err, HasSubstr("damaged"));
}

TEST(Launch, aDataFolderThatCannotBeWrittenIsNotMistakenForARunningCopy)
{
    // Something in the way of the folder; where the process may mount, a
    // full disk under it too.
    Home blocked;
    QFile file(blocked.dataDir());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    test::FullDisk disk;
    Home full;
    full.setDataHome(disk.path());
    disk.fill();

    for (const auto &[home, cause] : { std::pair(&blocked, "Not a directory"), std::pair(&full, "No space left") }) {
        if (home == &full && !disk.isReal())
            continue;
        const Ended run = runToEnd(*home);
        EXPECT_EQ(run.status, 2) << run.err;
        EXPECT_THAT(run.err, HasSubstr(home->dataDir().toStdString()));
        EXPECT_THAT(run.err, HasSubstr(cause));
        EXPECT_THAT(run.err, ::testing::Not(HasSubstr("already running")));
    }
}

TEST(Launch, everythingItWritesIsForThisUserOnlyWhateverTheUmask)
{
    Home home;
    // Left readable to others by an older version, in the folder older
    // versions kept their logs in.
    QDir().mkpath(home.dataDir());
    QFile log(home.dataDir() + QStringLiteral("/alarms.log"));
    ASSERT_TRUE(log.open(QIODevice::WriteOnly));
    const QByteArray earlier = "2020-01-01T00:00:00Z written by an earlier version\n";
    log.write(earlier);
    log.close();
    log.setPermissions(QFileDevice::Permissions(0x6644));
    QFile::setPermissions(home.dataDir(), QFileDevice::Permissions(0x7755));

    const mode_t umask = ::umask(022);
    QProcess program;
    home.start(program);
    ::umask(umask);
    // The map tiles' cache is laid out after the book is open: the signal
    // waits for it, so it cannot land between the two.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return QFile::exists(home.bookPath() + QStringLiteral("-wal"))
                && QFile::exists(home.dataDir() + QStringLiteral("/tiles"));
        },
        10000));
    QSet<QString> names;
    EXPECT_EQ(openToOthers(home.dataDir(), names), QStringList()) << "while it runs";
    ::kill(static_cast<pid_t>(program.processId()), SIGTERM);
    ASSERT_TRUE(program.waitForFinished(10000));
    EXPECT_EQ(openToOthers(home.dataDir(), names), QStringList()) << "once it has ended";
    for (const char *name : { "book.sqlite", "book.sqlite-wal", "book.sqlite-shm", "quillery.lock", "Quillery.conf" })
        EXPECT_TRUE(names.contains(QLatin1String(name))) << name;

    // The log moved to the state folder, its earlier lines first, and
    // stays private there.
    EXPECT_FALSE(names.contains(QStringLiteral("alarms.log")));
    QSet<QString> state;
    EXPECT_EQ(openToOthers(home.stateDir(), state), QStringList());
    QFile moved(home.stateDir() + QStringLiteral("/alarms.log"));
    ASSERT_TRUE(moved.open(QIODevice::ReadOnly));
    EXPECT_TRUE(moved.readAll().startsWith(earlier));
}

TEST(Launch, theCommandLineIsAnsweredWithoutADisplay)
{
    Home home;
    for (const char *name : { "DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM" })
        home.environment().remove(QString::fromLatin1(name));
    struct Case {
        QStringList arguments;
        int status;
        const char *out; // expected in standard output
        const char *err; // expected as the only line of standard error
    };
    const QList<Case> cases = {
        { { QStringLiteral("--help") }, 0, "--background", nullptr },
        { { QStringLiteral("--version") }, 0, QUILLERY_VERSION, nullptr },
        { { QStringLiteral("--frobnicate") }, 2, nullptr, "unknown option '--frobnicate'" },
        { { QStringLiteral("stray") }, 2, nullptr, "unexpected argument 'stray'" },
        { {}, 1, nullptr, "no display: set DISPLAY or WAYLAND_DISPLAY" },
        { { QStringLiteral("--background") }, 1, nullptr, "no display: set DISPLAY or WAYLAND_DISPLAY" },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.arguments.join(u' ').toStdString());
        const Ended run = runToEnd(home, c.arguments);
        EXPECT_EQ(run.status, c.status) << "-1: it aborted or never ended";
        if (c.out) {
            EXPECT_THAT(run.out, HasSubstr(c.out));
        }
        if (c.err) {
            EXPECT_THAT(run.err, HasSubstr(c.err));
            EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
        } else {
            EXPECT_EQ(run.err, "");
        }
    }
    EXPECT_FALSE(QFile::exists(home.bookPath())) << "nothing was opened";
}

namespace {

// An X display of its own (Xvfb) and the probe that watches it: starts a
// program, tells when a window was mapped and closes it as a window manager
// would.
class TestDisplay
{
public:
    ~TestDisplay()
    {
        m_xvfb.terminate();
        m_xvfb.waitForFinished(5000);
    }

    bool start()
    {
        m_xvfb.start(QStringLiteral("Xvfb"),
            { QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-nolisten"), QStringLiteral("tcp"),
                QStringLiteral("-screen"), QStringLiteral("0"), QStringLiteral("1024x768x24") });
        if (!m_xvfb.waitForStarted(5000) || !m_xvfb.waitForReadyRead(10000))
            return false;
        m_name = u':' + QString::fromLatin1(m_xvfb.readAllStandardOutput().trimmed());
        return m_name.size() > 1;
    }

    void use(QProcessEnvironment &env) const
    {
        env.insert(QStringLiteral("DISPLAY"), m_name);
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    }

    // Runs `program` through the probe; once it is finished, its output is
    // "<pid> <seconds to the window>". The event loop runs meanwhile.
    static bool probe(QProcess &probe, const QProcessEnvironment &env, const QStringList &arguments)
    {
        probe.setProcessEnvironment(env);
        probe.start(
            qEnvironmentVariable("QUILLERY_BINARY_DIR") + QStringLiteral("/tests/quillery_window_probe"), arguments);
        return QTest::qWaitFor([&] { return probe.state() == QProcess::NotRunning; }, 60'000) && probe.exitCode() == 0;
    }

private:
    QProcess m_xvfb;
    QString m_name;
};

QString commandLineOf(qint64 pid)
{
    QFile file(QStringLiteral("/proc/%1/cmdline").arg(pid));
    return file.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(file.readAll()).replace(u'\0', u' ') : QString();
}

bool running(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/stat").arg(pid));
    return status.open(QIODevice::ReadOnly) && !status.readAll().contains(") Z ");
}

// A book with "Rang", whose reminder came due while nothing ran (its request
// still pending), and "Soon", due 8 s after `now`.
void writeBook(Home &home, const QDateTime &now)
{
    QDir().mkpath(home.dataDir());
    StoreOpenError error;
    auto store = Store::open(home.bookPath(), &error);
    ASSERT_TRUE(store) << error.message().toStdString();
    auto *page = new Page(1, 0);
    store->insert(page);
    TaskItem *rang = addTask(QStringLiteral("Rang"), 0, page, *store);
    rang->setAlarm(now.addSecs(-60));
    addTask(QStringLiteral("Soon"), 0, page, *store)->setAlarm(now.addSecs(8));
    ASSERT_TRUE(store->save());
    const ManualClock before(now.addSecs(-120));
    const auto request = makeRequest(*rang, CalendarContext(before));
    ASSERT_TRUE(request);
    ASSERT_TRUE(PendingNotificationFile(home.dataDir() + QStringLiteral("/notifications.json"))
                    .save({ PendingNotification { *request, std::nullopt } }));
}

} // namespace

// As at login: no window, a reminder that came due while the machine was off
// rings once, and a second launch hands over and leaves with success.
TEST(Launch, aStartInTheBackgroundRingsWhatCameDueAndASecondLaunchHandsOver)
{
    if (!QDBusConnection::sessionBus().isConnected())
        GTEST_SKIP() << "no D-Bus session bus (run the tests through scripts/run-tests.sh)";
    TestNotificationServer desktop;
    ASSERT_TRUE(desktop.start());
    Home home;
    writeBook(home, QDateTime::fromSecsSinceEpoch(QDateTime::currentSecsSinceEpoch()));
    QProcess first;
    home.start(first, { QStringLiteral("--background") });
    EXPECT_TRUE(QTest::qWaitFor([&] { return desktop.summaries().contains(QStringLiteral("Rang")); }, 10'000));
    QTest::qWait(500);
    EXPECT_EQ(desktop.summaries(), QStringList { QStringLiteral("Rang") });

    QProcess second;
    home.start(second);
    ASSERT_TRUE(QTest::qWaitFor([&] { return second.state() == QProcess::NotRunning; }, 10'000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(first.state(), QProcess::Running) << "the first copy keeps running";

    ::kill(static_cast<pid_t>(first.processId()), SIGTERM);
    ASSERT_TRUE(QTest::qWaitFor([&] { return first.state() == QProcess::NotRunning; }, 10'000));
    EXPECT_EQ(first.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(first.exitCode(), 0) << "SIGTERM ends the program cleanly";
}

// With reminders kept, closing the window starts the program afresh in the
// background in the same process, which holds on to everything that matters:
// the book, the reminders still to ring, the notifications on the desktop,
// and the socket a later launch finds it by.
TEST(Launch, closingTheWindowStartsAfreshInTheSameProcessAndLosesNothing)
{
    if (!QDBusConnection::sessionBus().isConnected())
        GTEST_SKIP() << "no D-Bus session bus (run the tests through scripts/run-tests.sh)";
    TestNotificationServer desktop({ QStringLiteral("body"), QStringLiteral("actions") });
    ASSERT_TRUE(desktop.start());
    TestDisplay display;
    ASSERT_TRUE(display.start()) << "Xvfb runs";
    Home home;
    display.use(home.environment());

    writeBook(home, QDateTime::fromSecsSinceEpoch(QDateTime::currentSecsSinceEpoch()));
    if (HasFatalFailure())
        return;

    QProcess first;
    ASSERT_TRUE(TestDisplay::probe(
        first, home.environment(), { QStringLiteral("--close-after"), QStringLiteral("3"), program() }))
        << first.readAllStandardError().toStdString();
    const qint64 pid = first.readAllStandardOutput().split(' ').value(0).toLongLong();
    ASSERT_GT(pid, 0);
    const uint rang = desktop.idOf(QStringLiteral("Rang"));
    ASSERT_NE(rang, 0u) << "the late reminder rang while the window was open";

    ASSERT_TRUE(QTest::qWaitFor([&] { return commandLineOf(pid).contains(QStringLiteral("--background")); }, 20'000))
        << "the same process started afresh: " << commandLineOf(pid).toStdString();
    EXPECT_TRUE(QTest::qWaitFor([&] { return desktop.summaries().contains(QStringLiteral("Soon")); }, 20'000));
    QTest::qWait(1000);
    EXPECT_EQ(desktop.summaries().count(QStringLiteral("Soon")), 1);
    EXPECT_EQ(desktop.summaries().count(QStringLiteral("Rang")), 1);

    // The choice on the notification the window's process showed reaches
    // the book through the process that runs now.
    desktop.invokeAction(rang, QStringLiteral("done"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return desktop.closed().contains(rang); }, 10'000));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            SQLite::Database db(home.bookPath().toStdString(), SQLite::OPEN_READONLY);
            return db.execAndGet("SELECT done FROM task WHERE text = 'Rang'").getInt() == 1;
        },
        10'000));

    // A later launch reaches it, and its window comes back.
    QProcess second;
    ASSERT_TRUE(TestDisplay::probe(second, home.environment(), { program() }))
        << second.readAllStandardError().toStdString();
    std::printf("the window is back %s s after the second launch\n",
        second.readAllStandardOutput().split(' ').value(1).trimmed().constData());
    EXPECT_TRUE(running(pid));

    ::kill(static_cast<pid_t>(pid), SIGTERM);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !running(pid); }, 10'000));
}
