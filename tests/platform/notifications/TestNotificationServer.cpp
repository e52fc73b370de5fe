#include "TestNotificationServer.h"

#include <QDBusMessage>
#include <QUuid>

TestNotificationServer::TestNotificationServer(QStringList capabilities)
    : m_connectionName(QStringLiteral("test-notification-server-") + QUuid::createUuid().toString(QUuid::Id128))
    , m_capabilities(std::move(capabilities))
{ }

TestNotificationServer::~TestNotificationServer()
{
    stop();
}

bool TestNotificationServer::start()
{
    QDBusConnection bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, m_connectionName);
    if (!bus.isConnected())
        return false;
    if (!bus.registerObject(QStringLiteral("/org/freedesktop/Notifications"), this, QDBusConnection::ExportAllSlots))
        return false;
    m_started = bus.registerService(QStringLiteral("org.freedesktop.Notifications"));
    return m_started;
}

void TestNotificationServer::stop()
{
    if (!m_started)
        return;
    m_started = false;
    QDBusConnection bus(m_connectionName);
    bus.unregisterService(QStringLiteral("org.freedesktop.Notifications"));
    bus.unregisterObject(QStringLiteral("/org/freedesktop/Notifications"));
    QDBusConnection::disconnectFromBus(m_connectionName);
}

QStringList TestNotificationServer::summaries() const
{
    QStringList list;
    for (const Call &call : m_calls)
        list.append(call.summary);
    return list;
}

uint TestNotificationServer::Notify(const QString &, uint replaces_id, const QString &, const QString &summary,
    const QString &body, const QStringList &actions, const QVariantMap &hints, int)
{
    const uint id = replaces_id != 0 ? replaces_id : uint(m_calls.size() + 1);
    m_calls.append({ id, summary, body, actions, hints, QDateTime::currentDateTimeUtc() });
    return id;
}

uint TestNotificationServer::idOf(const QString &summary) const
{
    for (auto call = m_calls.crbegin(); call != m_calls.crend(); ++call) {
        if (call->summary == summary)
            return call->id;
    }
    return 0;
}

void TestNotificationServer::invokeAction(uint id, const QString &action)
{
    QDBusMessage signal = QDBusMessage::createSignal(QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("ActionInvoked"));
    signal << id << action;
    QDBusConnection(m_connectionName).send(signal);
}

QStringList TestNotificationServer::GetCapabilities()
{
    return m_capabilities;
}

QString TestNotificationServer::GetServerInformation(QString &vendor, QString &version, QString &protocol_version)
{
    vendor = QStringLiteral("Quillery tests");
    version = QStringLiteral("1");
    protocol_version = QStringLiteral("1.2");
    return QStringLiteral("test-notification-server");
}

void TestNotificationServer::CloseNotification(uint id)
{
    m_closed.append(id);
    QDBusMessage signal = QDBusMessage::createSignal(QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("NotificationClosed"));
    signal << id << uint(3); // closed by a call to CloseNotification
    QDBusConnection(m_connectionName).send(signal);
}
