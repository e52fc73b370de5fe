// The alarm scheduler over the real desktop notification centre, end to end.
#include "NotificationsTestSupport.h"

#include "core/alarms/AlarmScheduler.h"
#include "core/alarms/AlarmStatus.h"
#include "core/alarms/NotificationDelegate.h"
#include "core/app/AppPaths.h"
#include "core/model/Page.h"
#include "core/model/TaskItem.h"
#include "platform/notifications/DesktopNotificationCenter.h"

#include <QFile>
#include <QTemporaryDir>

using namespace quillery;
using namespace quillery::test;

namespace {

QStringList logLines()
{
    QFile file(AppPaths::logFile(QStringLiteral("alarms.log")));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
}

class AlarmsOnTheDesktop : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QUILLERY_REQUIRE_SESSION_BUS();
        QFile::remove(AppPaths::logFile(QStringLiteral("alarms.log")));
        options.filePath = dir.filePath(QStringLiteral("notifications.json"));
        center = std::make_unique<DesktopNotificationCenter>(calendar, options);
        center->setDelegate(&delegate);
        scheduler = std::make_unique<AlarmScheduler>(*center, calendar, status);
    }

    QTemporaryDir dir;
    CalendarContext calendar;
    NotificationDelegate delegate;
    DesktopNotificationCenter::Options options;
    std::unique_ptr<DesktopNotificationCenter> center;
    AlarmStatus status;
    std::unique_ptr<AlarmScheduler> scheduler;
};

} // namespace

TEST_F(AlarmsOnTheDesktop, theTestAlarmRingsWhenAServerListens)
{
    TestNotificationServer server;
    ASSERT_TRUE(server.start());
    scheduler->sendTestAlarm(1);
    ASSERT_TRUE(waitFor([&] { return !server.calls().isEmpty(); }));
    EXPECT_EQ(server.summaries(), QStringList { QStringLiteral("Test alarm") });

    const QStringList lines = logLines();
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines.at(0).endsWith(QStringLiteral(" authorization: 2 (0 notDetermined, 1 denied, 2 authorized)")));
    EXPECT_TRUE(lines.at(1).endsWith(QStringLiteral(" scheduled \"Test alarm\" (quillery) trigger: in 1s")));
    EXPECT_EQ(status.statusLine(), QStringLiteral("Alarms: none scheduled"));
}

TEST_F(AlarmsOnTheDesktop, withoutAServerTheStatusSaysSoAndTheTestAlarmIsNotSent)
{
    scheduler->sendTestAlarm(1);
    ASSERT_TRUE(waitFor([&] { return status.showDenied(); }));
    EXPECT_EQ(status.statusLine(), QStringLiteral("Alarms: notifications are off for Quillery"));
    EXPECT_TRUE(waitFor([&] { return logLines().size() == 1; }));
    EXPECT_TRUE(pendingIdentifiers(*center).isEmpty());

    // Task alarms are still kept, to ring once a server is there.
    Page page;
    TaskItem task(QStringLiteral("Call Ann"));
    task.setPage(&page);
    task.setAlarm(QDateTime::currentDateTimeUtc().addSecs(3600));
    scheduler->rescheduleAll({ &task });
    ASSERT_TRUE(waitFor([&] { return status.pending() == 1; }));
}
