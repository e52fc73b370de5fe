#pragma once

#include "core/util/CalendarContext.h"

#include <QDateTime>

#include <optional>

namespace quillery {

// When a notification request fires: at a wall-clock moment given as calendar
// fields (read in the user's calendar and time zone when the moment comes
// near, so a request follows the user across zone changes), or a number of
// seconds after it was added. Neither kind repeats.
class NotificationTrigger
{
public:
    enum class Kind { None, Calendar, TimeInterval };

    NotificationTrigger() = default;
    static NotificationTrigger calendar(const CalendarContext::Components &components);
    static NotificationTrigger timeInterval(double seconds);

    Kind kind() const { return m_kind; }
    bool repeats() const { return false; }
    // Meaningful for calendar triggers only.
    const CalendarContext::Components &components() const { return m_components; }
    // Meaningful for time-interval triggers only.
    double seconds() const { return m_seconds; }

    // The moment the calendar fields name in `calendar` (a wall-clock time
    // skipped by a daylight-saving change gives the next existing moment).
    // None for other kinds and for fields that form no date.
    std::optional<QDateTime> calendarMoment(const CalendarContext &calendar) const;

    // When the trigger would fire next, seen from `calendar`'s now: a
    // calendar trigger's moment while it lies ahead, now plus the interval
    // for a time-interval trigger, none otherwise.
    std::optional<QDateTime> nextTriggerDate(const CalendarContext &calendar) const;

    // Why the platform would refuse the trigger, or an empty string.
    QString validationError(const CalendarContext &calendar) const;
    // Whether a time-interval trigger of `seconds` is one the platform takes.
    static bool isValidInterval(double seconds);

    friend bool operator==(const NotificationTrigger &, const NotificationTrigger &) = default;

private:
    Kind m_kind = Kind::None;
    CalendarContext::Components m_components;
    double m_seconds = 0;
};

} // namespace quillery
