#pragma once

#include "core/alarms/NotificationCenterDelegate.h"
#include "core/alarms/NotificationRequest.h"

#include <QDBusConnection>
#include <QObject>
#include <QVariantMap>

#include <functional>

namespace quillery {

// Shows a notification through the desktop's notification server
// (org.freedesktop.Notifications). The presentation options become hints:
// a sound name unless sound is off, kept in the server's list (not
// transient) when the list is wanted, and nothing at all when neither a
// banner nor the list is. The desktop-entry hint names Quillery, so the
// desktop groups its notifications and applies its per-application settings.
// A reminder carries its actions when the server shows actions at all.
class NotificationSender final : public QObject
{
    Q_OBJECT
public:
    static inline const QString Service = QStringLiteral("org.freedesktop.Notifications");
    static inline const QString Path = QStringLiteral("/org/freedesktop/Notifications");
    static inline const QString Interface = QStringLiteral("org.freedesktop.Notifications");
    static inline const QString AppName = QStringLiteral("Quillery");
    // The icon by its theme name, for servers that do not read the desktop entry.
    static inline const QString AppIcon = QStringLiteral("app.quillery.Quillery");
    // The freedesktop sound theme's name for a plain notification sound.
    static inline const QString DefaultSoundName = QStringLiteral("message-new-instant");

    explicit NotificationSender(QDBusConnection bus, QObject *parent = nullptr);

    // `done` runs later on this object's thread with an error text, empty on
    // success (also when the options asked for nothing to be shown), and the
    // server's id of the notification (0 when none was shown). A notification
    // that `replaces` names (a server id) is replaced by this one.
    using Done = std::function<void(QString error, uint id)>;
    void show(const NotificationRequest &request, PresentationOptions options, uint replaces, Done done);
    // Takes the notification with this server id off the desktop.
    void close(uint id);

    static QVariantMap hints(const NotificationRequest &request, PresentationOptions options);
    // The subtitle over the body; escaped when the server reads markup.
    static QString bodyText(const NotificationRequest &request, bool markup);

private:
    void notify(const NotificationRequest &request, PresentationOptions options, const QStringList &capabilities,
        uint replaces, Done done);

    QDBusConnection m_bus;
};

} // namespace quillery
