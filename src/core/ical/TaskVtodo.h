#pragma once

#include "IcalHandles.h"
#include "VtodoTask.h"

#include <QDateTime>
#include <QString>

class QTimeZone;

namespace quillery {

class CalendarContext;
class Store;
class TaskItem;
class TypeRegistry;

// One task ⇄ one VTODO: what a file export, a file import or a sync with a
// task server all do with a single task. A task's UID is its record id,
// unless the task came with a UID of another form, which is kept and written
// back. Properties Quillery has no field for travel in `kept` (a task's kept
// text lives in CalendarExtras) and are written back as they came.
namespace TaskVtodo {

// Attachments up to this size travel inline in the VTODO; larger ones are
// left out of it.
inline constexpr qint64 MaxInlineAttachment = 1024 * 1024;

struct WriteOptions {
    QDateTime now; // DTSTAMP, and COMPLETED of a task ticked off here
    QString parentUid; // the UID of the task this one is a subtask of
    QString kept; // the task's kept properties
    const TypeRegistry *types = nullptr; // names the attachments' MIME types; required
};

// The VTODO of `task`. `leftOut`, when given, is increased by the number of
// attachments too large to go inline.
ical::ComponentPtr write(
    const TaskItem &task, const CalendarContext &calendar, const WriteOptions &options, int *leftOut = nullptr);

// The UID `task` is written with, given its kept properties.
QString uidOf(const TaskItem &task, const QString &kept);

// Whether libical found a damaged line in the VTODO (or its alarms): a
// value it could not read, or a component it could not close. Lines with an
// unknown name are not damage.
bool isDamaged(icalcomponent *vtodo);

// The task in a VTODO. DUE keeps the day it names where it was written (a
// date, a time with TZID, a floating time; a UTC time gives the day in the
// user's zone); the earliest VALARM becomes the reminder, relative ones
// measured from DUE or DTSTART as they say.
ical::VtodoTask read(icalcomponent *vtodo, const CalendarContext &calendar, const TypeRegistry &types);

// Writes the fields of `from` into `task`, which must be in `store`, and
// adds its attachments. The id is the UID when that is a UUID no record of
// the store has. Returns the kept text to store for the task (which then
// holds a UID of another form too).
QString apply(const ical::VtodoTask &from, TaskItem &task, Store &store);

} // namespace TaskVtodo

// The zone a due day is counted in.
QTimeZone dueZone(const CalendarContext &calendar);

} // namespace quillery
