#pragma once

#include "NotificationRequest.h"

#include "core/util/CalendarContext.h"

#include <QList>
#include <QString>

#include <optional>
#include <utility>

namespace quillery {

// What a reminder offers on the desktop besides being read: the actions its
// notification carries, the moments "Remind Me in 10 Minutes" and "Tomorrow"
// move the reminder to, and the note that tells how late a reminder rings
// when the machine was off at its time. Pure rules over a calendar context.
namespace ReminderActions {

// The action keys the notification server hands back. "default" is the
// server's own name for clicking the notification itself.
inline const QString Open = QStringLiteral("default");
inline const QString Done = QStringLiteral("done");
inline const QString Snooze = QStringLiteral("snooze");
inline const QString Tomorrow = QStringLiteral("tomorrow");

inline constexpr int SnoozeMinutes = 10;

// The actions of `request` as key and label pairs, in the order the server
// shows them; none for a request that is no task's reminder (the test alarm).
QList<std::pair<QString, QString>> offeredFor(const NotificationRequest &request);

// Ten minutes from now, to the nearest minute.
QDateTime snoozed(const CalendarContext &calendar);

struct Moved {
    QDateTime alarm;
    std::optional<QDateTime> due;
    friend bool operator==(const Moved &, const Moved &) = default;
};
// "Tomorrow": the reminder rings tomorrow at its time of day (now's time of
// day, to the minute, when it has none), and the due day moves by as many
// days as the reminder did, so a reminder that rang today moves both one day
// on. Calendar days, so the time of day survives a daylight-saving change.
Moved tomorrow(
    const CalendarContext &calendar, const std::optional<QDateTime> &alarm, const std::optional<QDateTime> &due);

// "Due 10:00 — 2 hours ago" for a reminder that rings a minute or more after
// `due`; empty when it rings on time. The day is named when it was not
// today.
QString latenessNote(const CalendarContext &calendar, const QDateTime &due);

} // namespace ReminderActions
} // namespace quillery
