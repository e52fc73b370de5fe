// The pending-notifications file as an attacker or a damaged disk leaves it:
// numbers out of every range, something other than a file in its place, and
// one request repeated a hundred thousand times.
#include "core/alarms/AlarmRequests.h"
#include "platform/notifications/PendingNotificationFile.h"
#include "support/HostileFiles.h"
#include "support/PeakMemory.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace quillery;
using namespace quillery::test;

namespace {

QByteArray stored(qint64 due = 1'767'225'600'000)
{
    return PendingNotificationFile::encode({ { makeTestRequest(10), due } });
}

TEST(HostileNotificationFile, numbersOutOfRangeAreRefusedNotCast)
{
    const QByteArray good = stored();
    ASSERT_TRUE(PendingNotificationFile::decode(good));
    const QByteArray due = "\"due\": 1767225600000";
    const QByteArray seconds = "\"seconds\": 10";
    for (const QByteArray &bad : {
             QByteArray(good).replace(due, "\"due\": 1e300"),
             QByteArray(good).replace(due, "\"due\": -1e300"),
             QByteArray(good).replace(due, "\"due\": 9.3e18"),
             QByteArray(good).replace(due, "\"due\": 1767225600000.5"),
             QByteArray(good).replace(seconds, "\"seconds\": 1e300"),
             QByteArray(good).replace(seconds, "\"seconds\": -5"),
             QByteArray(good).replace("\"interruptionLevel\": 1", "\"interruptionLevel\": 1e300"),
         }) {
        ASSERT_NE(bad, good);
        EXPECT_FALSE(PendingNotificationFile::decode(bad)) << bad.toStdString();
    }
}

TEST(HostileNotificationFile, onlyASmallRegularFileIsReadAndAnythingElseIsMovedAside)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("notifications.json"));
    const PendingNotificationFile file(path);
    const struct {
        const char *what;
        std::function<bool()> make;
    } impostors[] = {
        { "a FIFO", [&] { return makeFifo(path); } },
        { "a link to an endless device", [&] { return linkTo(QStringLiteral("/dev/zero"), path); } },
        { "a file of 64 MB", [&] { return writeBigFile(path, 64 * 1024 * 1024); } },
    };
    for (const auto &impostor : impostors) {
        SCOPED_TRACE(impostor.what);
        ASSERT_TRUE(impostor.make());
        const PeakMemory memory;
        PendingNotificationFile::Loaded loaded;
        EXPECT_TRUE(finishesWithoutWaitingOn(path, [&] { loaded = file.load(); }));
        EXPECT_LT(memory.growthBytes(), 16 * 1024 * 1024);
        EXPECT_TRUE(loaded.pending.isEmpty());
        EXPECT_FALSE(loaded.problem.isEmpty());
        ASSERT_FALSE(loaded.movedAside.isEmpty());
        EXPECT_FALSE(QFileInfo::exists(path)) << "moved aside as it was";
        EXPECT_TRUE(QFile::remove(loaded.movedAside));
    }

    // A link to a sound file is a sound file.
    const QString real = dir.filePath(QStringLiteral("real.json"));
    ASSERT_TRUE(PendingNotificationFile(real).save({ { makeTestRequest(10), 1'767'225'600'000 } }));
    ASSERT_TRUE(linkTo(real, path));
    EXPECT_EQ(file.load().pending.size(), 1);
}

TEST(HostileNotificationFile, aRequestRepeatedAHundredThousandTimesIsReadAsOne)
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
