#pragma once

#include <QDBusConnection>
#include <QDateTime>
#include <QList>
#include <QObject>
#include <QStringList>
#include <QVariantMap>

// A desktop notification server for the tests: it owns the name
// org.freedesktop.Notifications on the session bus, through a connection of
// its own, records every Notify and CloseNotification call it receives, and
// plays the user choosing an action.
class TestNotificationServer final : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    struct Call {
        uint id = 0; // the one the server gave it
        QString summary;
        QString body;
        QStringList actions;
        QVariantMap hints;
        QDateTime received;
    };

    explicit TestNotificationServer(QStringList capabilities = { QStringLiteral("body") });
    ~TestNotificationServer() override;

    void setCapabilities(QStringList capabilities) { m_capabilities = std::move(capabilities); }

    // Takes the name; false when the bus refuses it.
    bool start();
    void stop();

    const QList<Call> &calls() const { return m_calls; }
    QStringList summaries() const;
    // The ids of the notifications asked to close.
    const QList<uint> &closed() const { return m_closed; }
    // The id the server gave the latest notification with this summary (0: none).
    uint idOf(const QString &summary) const;

    // The user chose `action` ("default": clicked the notification).
    void invokeAction(uint id, const QString &action);

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
    QList<uint> m_closed;
    bool m_started = false;
};
