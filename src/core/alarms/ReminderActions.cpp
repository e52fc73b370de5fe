#include "ReminderActions.h"

#include "AlarmRequests.h"

#include "core/tasks/ReminderDates.h"

#include <QCoreApplication>

#include <memory>

#include <unicode/reldatefmt.h>

namespace quillery::ReminderActions {

namespace {

constexpr qint64 Minute = 60'000;

// "2 hours ago" in the calendar's locale, in the largest whole unit.
QString ago(const CalendarContext &calendar, qint64 msecs)
{
    const qint64 minutes = msecs / Minute;
    UDateRelativeUnit unit = UDAT_RELATIVE_MINUTES;
    double quantity = double(minutes);
    if (minutes >= 2 * 24 * 60) {
        unit = UDAT_RELATIVE_DAYS;
        quantity = double(minutes / (24 * 60));
    } else if (minutes >= 60) {
        unit = UDAT_RELATIVE_HOURS;
        quantity = double(minutes / 60);
    }
    UErrorCode status = U_ZERO_ERROR;
    icu::RelativeDateTimeFormatter formatter(calendar.locale(), status);
    icu::UnicodeString text;
    if (U_SUCCESS(status))
        formatter.format(quantity, UDAT_DIRECTION_LAST, unit, text, status);
    if (U_FAILURE(status) || text.isEmpty())
        return QCoreApplication::translate("ReminderActions", "%n minute(s) ago", nullptr, int(minutes));
    return QString(reinterpret_cast<const QChar *>(text.getBuffer()), text.length());
}

} // namespace

QList<std::pair<QString, QString>> offeredFor(const NotificationRequest &request)
{
    if (request.identifier.isEmpty() || request.identifier == Alarms::TestIdentifier)
        return {};
    return {
        { Open, QCoreApplication::translate("ReminderActions", "Open") },
        { Done, QCoreApplication::translate("ReminderActions", "Mark as Done") },
        { Snooze, QCoreApplication::translate("ReminderActions", "Remind Me in 10 Minutes") },
        { Tomorrow, QCoreApplication::translate("ReminderActions", "Tomorrow") },
    };
}

QDateTime snoozed(const CalendarContext &calendar)
{
    const qint64 later = calendar.now().toMSecsSinceEpoch() + SnoozeMinutes * Minute;
    return QDateTime::fromMSecsSinceEpoch((later + Minute / 2) / Minute * Minute, Qt::UTC);
}

Moved tomorrow(
    const CalendarContext &calendar, const std::optional<QDateTime> &alarm, const std::optional<QDateTime> &due)
{
    const QDateTime now = calendar.now();
    const QDateTime from = alarm.value_or(now);
    const QDateTime day = calendar.startOfDayAfter(now, 1).value_or(now.addDays(1));
    Moved moved { ReminderDates::combineDayAndTime(calendar, day, from), due };
    if (due) {
        // Whole calendar days between the reminder's old day and its new one;
        // a day with a daylight-saving change is 23 or 25 hours long.
        const qint64 span = calendar.startOfDay(from).msecsTo(day);
        const int days = int((span + 12 * 60 * Minute) / (24 * 60 * Minute));
        if (const auto shifted = calendar.startOfDayAfter(*due, days))
            moved.due = ReminderDates::combineDayAndTime(calendar, *shifted, *due);
    }
    return moved;
}

QString latenessNote(const CalendarContext &calendar, const QDateTime &due)
{
    const QDateTime now = calendar.now();
    const qint64 late = due.msecsTo(now);
    if (late < Minute)
        return {};
    const QString when
        = calendar.format(due, calendar.isSameDay(due, now) ? QStringLiteral("jmm") : QStringLiteral("MMMdjmm"));
    return QCoreApplication::translate("ReminderActions", "Due %1 — %2").arg(when, ago(calendar, late));
}

} // namespace quillery::ReminderActions
