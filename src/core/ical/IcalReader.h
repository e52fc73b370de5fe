#pragma once

#include "VtodoTask.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

namespace quillery {

class CalendarContext;

// One VCALENDAR of a file: the page it becomes.
struct ImportedPage {
    QString title;
    std::optional<int> colorIndex;
    QList<ical::VtodoTask> tasks; // in page order, indents set
};

struct IcalReadResult {
    QList<ImportedPage> pages;
    int events = 0; // VEVENTs, skipped
    int others = 0; // journals, free/busy and other components, skipped
    int damaged = 0; // entries libical could not read whole, skipped
    QString error; // set when nothing can be imported at all
};

// Reads iCalendar text from any planner into pages of tasks, with libical
// doing the reading. Each VCALENDAR is read and let go of before the next,
// events and other components are counted without being built, components
// nested deeper than any planner nests them are left out, and a file over
// MaxFileSize or with more than MaxTasks tasks is refused whole, so a
// hostile file costs bounded time and memory.
namespace IcalReader {

inline constexpr qint64 MaxFileSize = 64LL * 1024 * 1024;
inline constexpr int MaxTasks = 50000;
inline constexpr int MaxDepth = 6;

// `fallbackTitle` names a calendar that names itself nowhere.
IcalReadResult read(QByteArray bytes, const QString &fallbackTitle, const CalendarContext &calendar);
IcalReadResult readFile(const QString &path, const CalendarContext &calendar);

// Puts tasks in page order (X-QUILLERY-ORDER first, then the others in file
// order) with each subtask right after its parent, at indent 1; a chain of
// subtasks all go under its first task. Links to missing tasks or in a
// circle leave the task at the top level.
void arrange(QList<ical::VtodoTask> &tasks);

} // namespace IcalReader
} // namespace quillery
