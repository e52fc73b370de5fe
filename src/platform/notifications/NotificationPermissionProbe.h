#pragma once

#include "core/alarms/AlarmStatus.h"

#include <QDBusConnection>
#include <QList>
#include <QObject>

#include <functional>

namespace quillery {

// Finds out whether Quillery may show notifications: authorized when a
// notification server answers on the session bus and the desktop has not
// switched Quillery's notifications off, denied otherwise. There is nothing
// to ask the user. Questions asked while one is being answered share its
// answer, so a burst of status refreshes costs one round trip.
class NotificationPermissionProbe final : public QObject
{
    Q_OBJECT
public:
    explicit NotificationPermissionProbe(QDBusConnection bus, QObject *parent = nullptr);

    // `done` runs later, on this object's thread.
    void probe(std::function<void(AlarmStatus::Authorization)> done);

    // How long the notification server is given to answer.
    static constexpr int ServerTimeout = 3000;

private:
    void finish(AlarmStatus::Authorization authorization);

    QDBusConnection m_bus;
    QList<std::function<void(AlarmStatus::Authorization)>> m_waiting;
};

} // namespace quillery
