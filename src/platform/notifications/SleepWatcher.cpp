#include "SleepWatcher.h"

#include <QDBusConnection>

namespace quillery {

SleepWatcher::SleepWatcher(QObject *parent)
    : QObject(parent)
{
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected())
        return;
    m_watching = bus.connect(QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
        QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("PrepareForSleep"), this,
        SLOT(onPrepareForSleep(bool)));
}

void SleepWatcher::onPrepareForSleep(bool sleeping)
{
    if (!sleeping)
        Q_EMIT resumed();
}

} // namespace quillery
