#pragma once

#include "core/alarms/NotificationRequest.h"

#include <optional>

namespace quillery {

// A request the desktop notification centre holds until it fires. A
// time-interval request is pinned to the moment it was added plus its
// interval; a calendar request keeps its wall-clock fields, which are read in
// the user's zone whenever the centre arms its timer.
struct PendingNotification {
    NotificationRequest request;
    std::optional<qint64> intervalDue; // ms since the epoch; time-interval requests only

    // When the request fires; none when it never can.
    std::optional<QDateTime> due(const CalendarContext &calendar) const
    {
        if (intervalDue)
            return QDateTime::fromMSecsSinceEpoch(*intervalDue, Qt::UTC);
        return request.trigger.calendarMoment(calendar);
    }

    friend bool operator==(const PendingNotification &, const PendingNotification &) = default;
};

} // namespace quillery
