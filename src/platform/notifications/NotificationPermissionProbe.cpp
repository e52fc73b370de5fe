#include "NotificationPermissionProbe.h"

#include "DesktopNotificationSettings.h"
#include "NotificationSender.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>

namespace quillery {

NotificationPermissionProbe::NotificationPermissionProbe(QDBusConnection bus, QObject *parent)
    : QObject(parent)
    , m_bus(std::move(bus))
{ }

void NotificationPermissionProbe::probe(std::function<void(AlarmStatus::Authorization)> done)
{
    m_waiting.append(std::move(done));
    if (m_waiting.size() > 1)
        return;
    if (!m_bus.isConnected()) {
        QMetaObject::invokeMethod(
            this, [this] { finish(AlarmStatus::Denied); }, Qt::QueuedConnection);
        return;
    }
    const QDBusMessage call = QDBusMessage::createMethodCall(NotificationSender::Service, NotificationSender::Path,
        NotificationSender::Interface, QStringLiteral("GetServerInformation"));
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call, ServerTimeout), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher] {
        watcher->deleteLater();
        if (watcher->isError()) {
            finish(AlarmStatus::Denied);
            return;
        }
        DesktopNotificationSettings::querySwitchedOff(
            this, [this](bool switchedOff) { finish(switchedOff ? AlarmStatus::Denied : AlarmStatus::Authorized); });
    });
}

void NotificationPermissionProbe::finish(AlarmStatus::Authorization authorization)
{
    const auto waiting = std::exchange(m_waiting, {});
    for (const auto &done : waiting)
        done(authorization);
}

} // namespace quillery
