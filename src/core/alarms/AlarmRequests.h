#pragma once

#include "NotificationCenter.h"
#include "NotificationRequest.h"

#include "core/util/CalendarContext.h"

#include <optional>

namespace quillery {

class TaskItem;

// The rules that turn tasks into notification requests and scheduling
// decisions into lines of "alarms.log". Free functions without state of their
// own; AlarmScheduler puts them to work.
namespace Alarms {

inline const QString TestIdentifier = QStringLiteral("quillery.test");
inline const QString LogName = QStringLiteral("alarms.log");
// Task requests pending after a full reschedule: the soonest alarms.
inline constexpr int MaxPending = 60;
// The delay of the page menu's test alarm.
inline constexpr int TestDelaySeconds = 10;

} // namespace Alarms

// The request of `task`, or none when it is done, has no alarm, or its alarm
// is not later than `calendar`'s now. The trigger holds the alarm's calendar
// fields in `calendar`'s zone, to the second.
std::optional<NotificationRequest> makeRequest(const TaskItem &task, const CalendarContext &calendar);

// The test notification, `seconds` after it is added.
NotificationRequest makeTestRequest(double seconds);

// "calendar → next 2026-03-01T09:30:00Z", "in 10s" or "unknown".
QString triggerDescription(const NotificationTrigger &trigger, const CalendarContext &calendar);

// The log line's message for a task that gets no request.
QString notScheduledMessage(const TaskItem &task);
// The log line's message for a request the centre accepted.
QString scheduledMessage(const NotificationRequest &request, const CalendarContext &calendar);
// The log line's message for a request the centre refused.
QString failedMessage(const NotificationRequest &request, const NotificationError &error);

} // namespace quillery
