// The colour-scheme adapter against a portal served on the private session
// bus the tests run on (scripts/run-tests.sh): the real D-Bus messages, a
// stand-in for the desktop's portal process.
#include "platform/appearance/PortalColorScheme.h"

#include <QDBusConnection>
#include <QDBusVariant>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace quillery;

namespace {

const QString Service = QStringLiteral("org.freedesktop.portal.Desktop");
const QString Path = QStringLiteral("/org/freedesktop/portal/desktop");
const QString Interface = QStringLiteral("org.freedesktop.portal.Settings");

// Answers Read the way the portal does: the value wrapped in one variant
// more than the method declares.
class FakePortal final : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Settings")
public:
    uint scheme = 0;
    bool answer = true;

public Q_SLOTS:
    QDBusVariant Read(const QString &group, const QString &key)
    {
        if (!answer || group != QLatin1String("org.freedesktop.appearance") || key != QLatin1String("color-scheme"))
            return QDBusVariant(QVariant(QString()));
        return QDBusVariant(QVariant::fromValue(QDBusVariant(QVariant(scheme))));
    }

Q_SIGNALS:
    void SettingChanged(const QString &group, const QString &key, const QDBusVariant &value);
};

class PortalColorSchemeTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!QDBusConnection::sessionBus().isConnected())
            GTEST_SKIP() << "no session bus (run through scripts/run-tests.sh)";
        server = QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("fake-portal"));
        ASSERT_TRUE(
            server.registerObject(Path, &portal, QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals));
        if (!server.registerService(Service))
            GTEST_SKIP() << "a real portal owns the name on this bus";
    }
    void TearDown() override
    {
        if (server.isConnected()) {
            server.unregisterService(Service);
            server.unregisterObject(Path);
        }
        QDBusConnection::disconnectFromBus(QStringLiteral("fake-portal"));
    }

    void change(uint value)
    {
        portal.scheme = value;
        Q_EMIT portal.SettingChanged(QStringLiteral("org.freedesktop.appearance"), QStringLiteral("color-scheme"),
            QDBusVariant(QVariant(value)));
    }

    FakePortal portal;
    QDBusConnection server { QString() };
};

} // namespace

TEST_F(PortalColorSchemeTest, readsThePreferenceAtStartAndFollowsChanges)
{
    portal.scheme = 1;
    PortalColorScheme source;
    QSignalSpy changed(&source, &ColorSchemeSource::preferredChanged);
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return source.preferred() == std::optional<ColorScheme>(ColorScheme::Dark); }, 3000));

    change(2);
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return source.preferred() == std::optional<ColorScheme>(ColorScheme::Light); }, 3000));
    change(0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return source.preferred() == std::optional<ColorScheme>(); }, 3000));
    EXPECT_EQ(changed.count(), 3);

    // Other settings are not ours: by the time a later change of ours has
    // arrived (the bus keeps their order), the other one changed nothing.
    Q_EMIT portal.SettingChanged(
        QStringLiteral("org.gnome.desktop.interface"), QStringLiteral("color-scheme"), QDBusVariant(QVariant(uint(1))));
    change(2);
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return source.preferred() == std::optional<ColorScheme>(ColorScheme::Light); }, 3000));
    EXPECT_EQ(changed.count(), 4);
}

TEST_F(PortalColorSchemeTest, anUnreadableAnswerStatesNothing)
{
    portal.answer = false;
    PortalColorScheme source;
    QTest::qWait(200);
    EXPECT_EQ(source.preferred(), std::nullopt);
}

#include "PortalColorSchemeTest.moc"
