#pragma once

#include "core/app/StatusLine.h"
#include "core/util/Clock.h"

#include <functional>

namespace quillery {

class NotificationCenter;

// What the program knows about its alarms: the notification permission last
// read from the desktop, how many task alarms are pending (the test alarm not
// counted), and whether the user must be told that notifications are off.
// One instance lives for the whole program. Each field is written only when
// its value changes, with its own signal, followed by StatusLine::changed.
class AlarmStatus final : public StatusLine
{
    Q_OBJECT
public:
    // The five permission states of the notification service.
    enum Authorization {
        NotDetermined = 0,
        Denied = 1,
        Authorized = 2,
        Provisional = 3,
        Ephemeral = 4,
    };
    Q_ENUM(Authorization)

    using StatusLine::StatusLine;

    int authorization() const { return m_authorization; }
    void setAuthorization(int authorization);

    int pending() const { return m_pending; }
    void setPending(int pending);

    bool showDenied() const { return m_showDenied; }
    void setShowDenied(bool show);

    // "Alarms: waiting for permission", "Alarms: notifications are off for
    // Quillery", "Alarms: none scheduled" or "Alarms: 3 scheduled".
    QString statusLine() const;
    QString text() const override { return statusLine(); }

    // Re-reads the permission and the pending count (the test alarm not
    // counted) from `center`, then calls `then`. The fields are written on
    // this object's thread, whichever thread `center` answers on.
    void refresh(NotificationCenter &center, std::function<void()> then = {});

    // Asks `center` for permission when it was never asked, refreshes, sets
    // showDenied when notifications are denied, logs the status to
    // "alarms.log" (stamped with `clock`) and reports whether notifications
    // may be delivered.
    void ensurePermission(NotificationCenter &center, const Clock &clock, std::function<void(bool granted)> done);

Q_SIGNALS:
    void authorizationChanged();
    void pendingChanged();
    void showDeniedChanged();

private:
    int m_authorization = NotDetermined;
    int m_pending = 0;
    bool m_showDenied = false;
};

} // namespace quillery
