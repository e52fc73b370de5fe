#pragma once

#include <QDBusConnection>
#include <QDateTime>
#include <QList>
#include <QObject>
#include <QStringList>
#include <QVariantMap>

// A desktop notification server for the tests: it owns the name
// org.freedesktop.Notifications on the session bus, through a connection of
// its own, and records every Notify call it receives.
class TestNotificationServer final : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    struct Call {
        QString appName;
        uint replacesId = 0;
        QString appIcon;
        QString summary;
        QString body;
        QStringList actions;
        QVariantMap hints;
        int expireTimeout = 0;
        QDateTime received;
    };

    explicit TestNotificationServer(QStringList capabilities = { QStringLiteral("body") });
    ~TestNotificationServer() override;

    // Takes the name; false when the bus refuses it.
    bool start();
    void stop();

    const QList<Call> &calls() const { return m_calls; }
    QStringList summaries() const;

public Q_SLOTS:
    // The server's D-Bus methods, as the desktop notification protocol names them.
    uint Notify(const QString &app_name, uint replaces_id, const QString &app_icon, const QString &summary,
        const QString &body, const QStringList &actions, const QVariantMap &hints, int expire_timeout);
    QStringList GetCapabilities();
    QString GetServerInformation(QString &vendor, QString &version, QString &protocol_version);
    void CloseNotification(uint id);

private:
    QString m_connectionName;
    QStringList m_capabilities;
    QList<Call> m_calls;
    bool m_started = false;
};
