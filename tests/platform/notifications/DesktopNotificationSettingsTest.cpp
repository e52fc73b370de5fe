// Whether the desktop has switched Quillery's notifications off, read the way
// each desktop keeps it, and text made safe for servers that read markup.
#include "NotificationsTestSupport.h"

#include "core/alarms/AlarmRequests.h"
#include "platform/notifications/DesktopNotificationCenter.h"
#include "platform/notifications/DesktopNotificationSettings.h"
#include "platform/notifications/NotificationSender.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>

using namespace quillery;
using namespace quillery::test;

namespace {

// Sets an environment variable until the returned guard goes.
[[nodiscard]] auto setEnvironment(const char *name, const QByteArray &value)
{
    const std::optional<QByteArray> old = qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt;
    qputenv(name, value);
    return qScopeGuard([name, old] { old ? qputenv(name, *old) : qunsetenv(name); });
}

void writeConfig(const QString &relative, const QByteArray &contents)
{
    const QString path = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + u'/' + relative;
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(contents);
}

class DesktopSwitchTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QUILLERY_REQUIRE_SESSION_BUS();
        ASSERT_TRUE(server.start());
        DesktopNotificationCenter::Options options;
        options.filePath = dir.filePath(QStringLiteral("notifications.json"));
        center = std::make_unique<DesktopNotificationCenter>(CalendarContext(), options);
    }

    QTemporaryDir dir;
    TestNotificationServer server;
    std::unique_ptr<DesktopNotificationCenter> center;
};

} // namespace

TEST_F(DesktopSwitchTest, plasmaPopupsSwitchedOffForQuilleryDenyPermission)
{
    const auto desktop = setEnvironment("XDG_CURRENT_DESKTOP", "KDE");
    // An immutable key counts as well.
    writeConfig(QStringLiteral("plasmanotifyrc"),
        "[Applications][org.kde.konsole]\nShowPopups=true\n\n"
        "[Applications][app.quillery.Quillery]\nShowInHistory=true\nShowPopups[$i]=false\n\n"
        "[DoNotDisturb]\nWhenScreensMirrored=false\n");
    EXPECT_EQ(authorization(*center), AlarmStatus::Denied);

    // Only Quillery's own section counts, not one whose name begins alike.
    writeConfig(QStringLiteral("plasmanotifyrc"),
        "[Applications][other]\nShowPopups=false\n[Applications][app.quillery.Quillery.extra]\nShowPopups=false\n");
    EXPECT_EQ(authorization(*center), AlarmStatus::Authorized);
}

TEST_F(DesktopSwitchTest, gnomeSwitchedOffForQuilleryDeniesPermission)
{
    if (QStandardPaths::findExecutable(QStringLiteral("gsettings")).isEmpty())
        GTEST_SKIP() << "gsettings is not installed";
    const auto desktop = setEnvironment("XDG_CURRENT_DESKTOP", "ubuntu:GNOME");
    // GSettings' key-file back end reads what we write here.
    const auto backend = setEnvironment("GSETTINGS_BACKEND", "keyfile");
    writeConfig(QStringLiteral("glib-2.0/settings/keyfile"),
        "[org/gnome/desktop/notifications/application/app-quillery-quillery]\nenable=false\n");
    EXPECT_EQ(authorization(*center), AlarmStatus::Denied);

    writeConfig(QStringLiteral("glib-2.0/settings/keyfile"),
        "[org/gnome/desktop/notifications/application/app-quillery-quillery]\nenable=true\n");
    EXPECT_EQ(authorization(*center), AlarmStatus::Authorized);
}

TEST(DesktopNotificationSettings, readsEachDesktopsSwitch)
{
    EXPECT_EQ(DesktopNotificationSettings::gnomeApplicationId(QStringLiteral("org.Some_App..Two")),
        QStringLiteral("org-some-app-two"));

    const QByteArray muted = "Value is an array with 2 items:\n\nFirefox\nQuillery\n";
    EXPECT_TRUE(DesktopNotificationSettings::xfceMuted(muted, QStringLiteral("Quillery")));
    EXPECT_FALSE(DesktopNotificationSettings::xfceMuted(muted, QStringLiteral("Quill")));
}

TEST(NotificationSender, markupIsEscapedOnlyForServersThatReadIt)
{
    NotificationRequest request = makeTestRequest(1);
    request.subtitle = QStringLiteral("R&D");
    request.body = QStringLiteral("<b>bold</b> claims");
    EXPECT_EQ(NotificationSender::bodyText(request, false), QStringLiteral("R&D\n<b>bold</b> claims"));
    EXPECT_EQ(NotificationSender::bodyText(request, true), QStringLiteral("R&amp;D\n&lt;b&gt;bold&lt;/b&gt; claims"));
}
