#include "TaskSummary.h"

#include "DayLabel.h"
#include "RepeatRule.h"
#include "core/model/Attachment.h"
#include "core/model/TaskItem.h"
#include "core/util/CalendarContext.h"

#include <QCoreApplication>
#include <QStringList>

#include <algorithm>

namespace quillery {

QString summarySeparator()
{
    //: Between the parts of the line under a task: "Tomorrow  ·  Library  ·  Note".
    return QCoreApplication::translate("TaskSummary", "  \u00B7  ");
}

std::optional<QString> summaryLine(const TaskItem &task, const CalendarContext &calendar)
{
    QStringList parts;
    if (const auto due = task.due()) {
        QString day = dayLabel(*due, calendar);
        if (const auto alarm = task.alarm()) {
            //: A task's due day and its reminder time: "Today at 3:05 PM".
            day = QCoreApplication::translate("TaskSummary", "%1 at %2")
                      .arg(day, calendar.format(*alarm, QStringLiteral("jmm")));
        }
        parts << day;
    }
    if (const QString repeat = RepeatRules::describe(task.repeat(), calendar); !repeat.isEmpty())
        parts << repeat;
    if (const auto place = task.place())
        parts << place->name;
    if (!task.notes().isEmpty())
        parts << QCoreApplication::translate("TaskSummary", "Note");
    const int attachments = int(std::count_if(task.attachments().begin(), task.attachments().end(),
        [](const Attachment *attachment) { return !attachment->isDeleted(); }));
    if (attachments > 0)
        parts << QCoreApplication::translate("TaskSummary", "%n attachments", nullptr, attachments);
    if (parts.isEmpty())
        return std::nullopt;
    return parts.join(summarySeparator());
}

bool isOverdue(const TaskItem &task, const CalendarContext &calendar)
{
    if (task.done())
        return false;
    const auto due = task.due();
    if (!due)
        return false;
    const QDateTime now = calendar.now();
    if (const auto alarm = task.alarm())
        return *alarm < now;
    return *due < calendar.startOfDay(now);
}

} // namespace quillery
