// Under the usual umask (022) everything the program writes is for this user
// only, and what an older version left open is closed at the next start.
#include "../platform/notifications/TestNotificationServer.h"

#include "app/QuilleryApp.h"
#include "core/alarms/AlarmService.h"
#include "core/model/Page.h"

#include <QDBusConnection>
#include <QDirIterator>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace quillery;

namespace {

// Points the user's folders at `home` for as long as it lives.
class Home
{
public:
    Home()
    {
        for (const char *name : { "HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME" }) {
            m_saved << qgetenv(name);
            qputenv(name, QFile::encodeName(m_dir.path()));
        }
        m_umask = ::umask(022);
    }
    ~Home()
    {
        int i = 0;
        for (const char *name : { "HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME" })
            qputenv(name, m_saved.at(i++));
        ::umask(m_umask);
    }
    QString path(const QString &relative) const { return m_dir.filePath(relative); }

private:
    QTemporaryDir m_dir;
    QList<QByteArray> m_saved;
    mode_t m_umask;
};

void write(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

TEST(PrivateFiles, everythingTheProgramWritesIsForThisUserOnly)
{
    Home home;
    // Left open by an older version.
    write(home.path(QStringLiteral("Quillery/alarms.log")), "2026-01-01T00:00:00Z an old line\n");
    write(home.path(QStringLiteral("Quillery/Quillery.conf")), "[General]\nhintSeen=true\n");
    QFile::setPermissions(home.path(QStringLiteral("Quillery")), QFileDevice::Permissions(0x7755));

    // With a notification server the test alarm is kept in the pending
    // notifications and logged.
    TestNotificationServer desktop;
    const bool notifying = QDBusConnection::sessionBus().isConnected() && desktop.start();

    QSet<QString> seen;
    const auto expectPrivate = [&] {
        QStringList loose;
        QDirIterator it(home.path(QStringLiteral("Quillery")), QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
            QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QFileInfo entry(it.next());
            seen << entry.fileName();
            if (entry.permissions() & QFileDevice::Permissions(0x0077))
                loose << entry.filePath();
        }
        EXPECT_TRUE(loose.isEmpty()) << loose.join(u'\n').toStdString();
        EXPECT_EQ(QFileInfo(home.path(QStringLiteral("Quillery"))).permissions() & 0x0077, 0);
    };
    {
        QuilleryApp app;
        StoreOpenError error;
        ASSERT_TRUE(app.start(&error)) << error.message().toStdString();
        app.store().insert(new Page(1, 0));
        app.alarms().sendTestAlarm(60);
        app.preferences().setHideCompleted(true);
        app.saveAll();
        if (notifying) {
            EXPECT_TRUE(QTest::qWaitFor(
                [&] { return QFile::exists(home.path(QStringLiteral("Quillery/notifications.json"))); }, 5000));
        }
        expectPrivate(); // the log and index of the book exist only while it is open
    }
    expectPrivate();
    QStringList written { "book.sqlite", "book.sqlite-wal", "book.sqlite-shm", "alarms.log", "Quillery.conf" };
    if (notifying)
        written << QStringLiteral("notifications.json");
    for (const QString &name : written)
        EXPECT_TRUE(seen.contains(name)) << name.toStdString() << " was not written";
}
