#include "AlarmStatus.h"

#include <QCoreApplication>

namespace quillery {

void AlarmStatus::setAuthorization(int authorization)
{
    if (m_authorization == authorization)
        return;
    m_authorization = authorization;
    Q_EMIT authorizationChanged();
    Q_EMIT changed();
}

void AlarmStatus::setPending(int pending)
{
    if (m_pending == pending)
        return;
    m_pending = pending;
    Q_EMIT pendingChanged();
    Q_EMIT changed();
}

void AlarmStatus::setShowDenied(bool show)
{
    if (m_showDenied == show)
        return;
    m_showDenied = show;
    Q_EMIT showDeniedChanged();
    Q_EMIT changed();
}

QString AlarmStatus::statusLine() const
{
    switch (m_authorization) {
    case NotDetermined:
        return QCoreApplication::translate("AlarmStatus", "Alarms: waiting for permission");
    case Denied:
        return QCoreApplication::translate("AlarmStatus", "Alarms: notifications are off for Quillery");
    default:
        if (m_pending == 0)
            return QCoreApplication::translate("AlarmStatus", "Alarms: none scheduled");
        return QCoreApplication::translate("AlarmStatus", "Alarms: %1 scheduled").arg(m_pending);
    }
}

} // namespace quillery
