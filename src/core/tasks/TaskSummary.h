#pragma once

#include <QString>

#include <optional>

namespace quillery {

class CalendarContext;
class TaskItem;

// The parts of the line under a task's text are joined with this: two
// spaces, a middle dot, two spaces, unless the user's language joins them
// otherwise.
QString summarySeparator();

// The line under a task's text: its day (with the reminder time when it has
// one: "Today at 3:05 PM"), how it repeats ("Every week"), the place name, "Note" when it has notes, and the
// number of attachments, in that order. None when there is nothing to say.
// A reminder without a due day adds nothing.
std::optional<QString> summaryLine(const TaskItem &task, const CalendarContext &calendar);

// Whether the summary is drawn in red: an open task whose reminder has
// passed, or without a reminder, whose due day lies before today.
bool isOverdue(const TaskItem &task, const CalendarContext &calendar);

} // namespace quillery
