#pragma once

#include "core/ical/VtodoTask.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace quillery {

class CalendarContext;
class TaskItem;
class TypeRegistry;

// One task as a calendar object resource on a task server: a VCALENDAR
// holding its VTODO, written and read like a file export's, plus the
// LAST-MODIFIED the later-change rule compares (in whole seconds, as the
// format has them).
namespace CalDavCodec {

struct Remote {
    ical::VtodoTask task;
    qint64 modified = 0; // ms since the epoch, whole seconds; 0 when the VTODO gives none
};

QByteArray encode(const TaskItem &task, qint64 modified, const QString &parentUid, const QString &kept,
    const CalendarContext &calendar, const TypeRegistry &types);
// The first VTODO of a resource; none for a resource without one (an
// event) or one that cannot be read.
std::optional<Remote> decode(const QByteArray &text, const CalendarContext &calendar, const TypeRegistry &types);

// `kept` with its UID set to `uid` (a task's name on the server when it is
// not the task's own id).
QString withUid(const QString &kept, const QString &uid);

// Stamps are compared in whole seconds on both sides.
inline qint64 toSeconds(qint64 ms)
{
    return ms - ms % 1000;
}

} // namespace CalDavCodec

} // namespace quillery
