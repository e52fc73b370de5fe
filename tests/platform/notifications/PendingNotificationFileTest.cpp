#include "platform/notifications/PendingNotificationFile.h"
#include "core/alarms/AlarmRequests.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

using namespace quillery;

TEST(PendingNotificationFile, keepsEveryPartOfEveryRequest)
{
    NotificationRequest calendar;
    calendar.identifier = QStringLiteral("E621E1F8-C36C-495A-93FC-0C247A3E6E5F");
    calendar.title = QStringLiteral("Call \"Ann\" ✓");
    calendar.subtitle = QStringLiteral("Errands");
    calendar.body = QStringLiteral("line one\nline two");
    calendar.sound = NotificationRequest::Sound::None;
    calendar.interruptionLevel = NotificationRequest::InterruptionLevel::Critical;
    calendar.trigger = NotificationTrigger::calendar({ 2026, 10, 25, 2, 30, 59 });
    const QList<PendingNotification> pending { { calendar, std::nullopt },
        { makeTestRequest(10.5), 1'767'225'600'123 } };

    EXPECT_EQ(PendingNotificationFile::decode(PendingNotificationFile::encode(pending)), pending);
}

TEST(PendingNotificationFile, anythingButACompleteListIsRefused)
{
    const QByteArray good = PendingNotificationFile::encode({ { makeTestRequest(10), 1'767'225'600'000 } });
    ASSERT_TRUE(PendingNotificationFile::decode(good));
    for (const QByteArray &bad : {
             QByteArray(),
             good.left(good.size() - 2),
             QByteArray("[]"),
             QByteArray(good).replace("\"format\": 1", "\"format\": 2"),
             QByteArray(good).replace("timeInterval", "sometime"),
             QByteArray(good).replace("\"interruptionLevel\": 1", "\"interruptionLevel\": 7"),
             QByteArray(good).replace("\"identifier\": \"quillery.test\"", "\"identifier\": \"\""),
             // Numbers beyond any date or integer are refused, never cast.
             QByteArray(good).replace("\"due\": 1767225600000", "\"due\": 1e300"),
             QByteArray(good).replace("\"due\": 1767225600000", "\"due\": 1767225600000.5"),
             QByteArray(good).replace("\"seconds\": 10", "\"seconds\": 1e300"),
             QByteArray(good).replace("\"interruptionLevel\": 1", "\"interruptionLevel\": 1e300"),
         }) {
        ASSERT_NE(bad, good);
        EXPECT_FALSE(PendingNotificationFile::decode(bad)) << bad.toStdString();
    }
}

TEST(PendingNotificationFile, aSaveTheDiskRefusesReportsFailureAndKeepsTheLastFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("notifications.json"));
    const PendingNotificationFile file(path);
    const QList<PendingNotification> one { { makeTestRequest(10), 1'767'225'600'000 } };
    ASSERT_TRUE(file.save(one));

    QList<PendingNotification> many;
    for (int i = 0; i < 20; ++i) {
        NotificationRequest request = makeTestRequest(10 + i);
        request.identifier = QStringLiteral("request-%1").arg(i);
        many.append({ request, std::nullopt });
    }
    // The file may not grow past what is already there, as on a full disk:
    // the buffered write fails only when it is flushed.
    struct rlimit limit;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &limit), 0);
    const auto oldHandler = signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = limit;
    small.rlim_cur = QFile(path).size();
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    QString error;
    const bool saved = file.save(many, &error);
    setrlimit(RLIMIT_FSIZE, &limit);
    signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(saved);
    EXPECT_FALSE(error.isEmpty());
    const PendingNotificationFile::Loaded loaded = file.load();
    EXPECT_TRUE(loaded.problem.isEmpty()) << loaded.problem.toStdString();
    EXPECT_EQ(loaded.pending, one);
}
