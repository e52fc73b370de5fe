#include "AlarmStatus.h"

#include "AlarmRequests.h"
#include "LogWriter.h"
#include "NotificationCenter.h"
#include "QueuedCall.h"

#include <QCoreApplication>

#include <algorithm>

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
        return QCoreApplication::translate("AlarmStatus", "Alarms: %n scheduled", nullptr, m_pending);
    }
}

void AlarmStatus::refresh(NotificationCenter &center, std::function<void()> then)
{
    center.notificationSettings(queuedTo(this, [this, &center, then = std::move(then)](NotificationSettings settings) {
        setAuthorization(settings.authorizationStatus);
        center.pendingRequests(queuedTo(this, [this, then](const QList<NotificationRequest> &requests) {
            const auto count = std::count_if(requests.cbegin(), requests.cend(),
                [](const NotificationRequest &request) { return request.identifier != Alarms::TestIdentifier; });
            setPending(int(count));
            if (then)
                then();
        }));
    }));
}

void AlarmStatus::ensurePermission(
    NotificationCenter &center, const Clock &clock, std::function<void(bool granted)> done)
{
    auto conclude = [this, &center, &clock, done = std::move(done)] {
        refresh(center, [this, &clock, done] {
            if (m_authorization == Denied)
                setShowDenied(true);
            appendLogLine(Alarms::LogName,
                QStringLiteral("authorization: %1 (0 notDetermined, 1 denied, 2 authorized)").arg(m_authorization),
                clock);
            if (done)
                done(m_authorization == Authorized || m_authorization == Provisional);
        });
    };
    center.notificationSettings(
        queuedTo(this, [this, &center, conclude = std::move(conclude)](NotificationSettings settings) {
            if (settings.authorizationStatus != NotDetermined) {
                conclude();
                return;
            }
            // What the request answers does not matter: the status read
            // afterwards decides.
            const AuthorizationOptions options
                = AuthorizationOption::Alert | AuthorizationOption::Badge | AuthorizationOption::Sound;
            center.requestAuthorization(
                options, queuedTo(this, [conclude](bool, const std::optional<NotificationError> &) { conclude(); }));
        }));
}

} // namespace quillery
