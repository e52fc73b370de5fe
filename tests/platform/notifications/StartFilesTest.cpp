// The files read at start (pending notifications, preferences) replaced by
// what a damaged disk or another program can leave there: the start neither
// waits nor fills memory, the file is moved aside, and the program works on.
#include "core/alarms/AlarmRequests.h"
#include "core/app/Preferences.h"
#include "platform/notifications/PendingNotificationFile.h"
#include "support/PeakMemory.h"

#include <QDir>
#include <QFuture>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtConcurrent/QtConcurrentRun>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace quillery;

namespace {

// Runs `work` on another thread: false when it is still waiting on the FIFO
// at `path` after five seconds, which a writer then releases, so a failure
// never hangs the tests.
template <typename F> bool finishesWithoutWaitingOn(const QString &path, F work)
{
    QFuture<void> running = QtConcurrent::run(std::move(work));
    for (int waited = 0; !running.isFinished() && waited < 500; ++waited)
        ::usleep(10'000);
    if (running.isFinished())
        return true;
    ::close(::open(QFile::encodeName(path).constData(), O_WRONLY | O_NONBLOCK));
    running.waitForFinished();
    return false;
}

TEST(StartFiles, whatIsNotASmallRegularFileIsMovedAsideWithoutWaitingOrFillingMemory)
{
    QTemporaryDir dir;
    const QString notifications = dir.filePath(QStringLiteral("notifications.json"));
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/Quillery";
    const QString preferences = folder + QStringLiteral("/Quillery.conf");
    ASSERT_TRUE(QDir().mkpath(folder));
    const std::function<bool(const QString &)> impostors[] = {
        [](const QString &path) { return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0; },
        [](const QString &path) { return QFile::link(QStringLiteral("/dev/zero"), path); },
        [](const QString &path) {
            QFile file(path);
            return file.open(QIODevice::WriteOnly) && file.resize(64 * 1024 * 1024);
        },
    };
    for (const auto &impostor : impostors) {
        for (const QString &path : { notifications, preferences }) {
            SCOPED_TRACE((path + u' ' + QString::number(&impostor - impostors)).toStdString());
            QFile::remove(path);
            ASSERT_TRUE(impostor(path));
            const quillery::test::PeakMemory memory;
            EXPECT_TRUE(finishesWithoutWaitingOn(path, [&] {
                if (path == notifications) {
                    const PendingNotificationFile::Loaded loaded = PendingNotificationFile(path).load();
                    EXPECT_TRUE(loaded.pending.isEmpty());
                    EXPECT_FALSE(loaded.movedAside.isEmpty()) << loaded.problem.toStdString();
                } else {
                    Preferences().setHideCompleted(true);
                }
            }));
            EXPECT_LT(memory.growthBytes(), 16 * 1024 * 1024);
            const QFileInfo file(path);
            const QStringList aside
                = file.dir().entryList({ file.fileName() + ".damaged-*" }, QDir::Files | QDir::System);
            EXPECT_EQ(aside.size(), 1);
            for (const QString &name : aside)
                QFile::remove(file.dir().filePath(name));
        }
        // The program works on: what is written now is a sound file.
        EXPECT_TRUE(Preferences().hideCompleted());
    }
}

TEST(StartFiles, aRequestRepeatedAHundredThousandTimesIsReadAsOne)
{
    const auto entry = [](const QString &identifier, qint64 due) {
        NotificationRequest request = makeTestRequest(10);
        request.identifier = identifier;
        const QJsonObject root
            = QJsonDocument::fromJson(PendingNotificationFile::encode({ { request, due } })).object();
        return QJsonDocument(root.value(u"pending").toArray().first().toObject()).toJson(QJsonDocument::Compact);
    };
    const QByteArray same = entry(QStringLiteral("same"), 1'767'225'600'000);
    const QByteArray text = "{\"format\": 1, \"pending\": [" + same + ',' + entry(QStringLiteral("other"), 1) + ','
        + (same + ',').repeated(100'000) + entry(QStringLiteral("same"), 1'767'225'700'000) + "]}";
    const std::optional<QList<PendingNotification>> read = PendingNotificationFile::decode(text);
    ASSERT_TRUE(read);
    ASSERT_EQ(read->size(), 2);
    // One per identifier, where it first stood, as the last one left it.
    EXPECT_EQ(read->at(0).request.identifier, QStringLiteral("same"));
    EXPECT_EQ(read->at(0).intervalDue, 1'767'225'700'000);
    EXPECT_EQ(read->at(1).request.identifier, QStringLiteral("other"));
}

} // namespace
