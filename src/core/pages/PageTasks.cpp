#include "PageTasks.h"

#include "core/model/Page.h"
#include "core/model/TaskItem.h"

#include <algorithm>

namespace quillery {

QList<TaskItem *> visibleTasks(const QList<TaskItem *> &sortedTasks, bool hideCompleted, const TaskItem *kept)
{
    if (!hideCompleted)
        return sortedTasks;
    QList<TaskItem *> shown;
    shown.reserve(sortedTasks.size());
    std::copy_if(sortedTasks.begin(), sortedTasks.end(), std::back_inserter(shown),
        [kept](const TaskItem *task) { return !task->done() || task == kept; });
    return shown;
}

QList<TaskItem *> visibleTasks(const Page &page, bool hideCompleted, const TaskItem *kept)
{
    return visibleTasks(page.sortedTasks(), hideCompleted, kept);
}

int hiddenCount(const QList<TaskItem *> &sortedTasks, bool hideCompleted, const TaskItem *kept)
{
    if (!hideCompleted)
        return 0;
    return static_cast<int>(std::count_if(
        sortedTasks.begin(), sortedTasks.end(), [kept](const TaskItem *task) { return task->done() && task != kept; }));
}

int hiddenCount(const Page &page, bool hideCompleted, const TaskItem *kept)
{
    return hiddenCount(page.sortedTasks(), hideCompleted, kept);
}

bool isBlank(const Page &page)
{
    if (!page.title().isEmpty())
        return false;
    return std::none_of(
        page.tasks().begin(), page.tasks().end(), [](const TaskItem *task) { return !task->isDeleted(); });
}

} // namespace quillery
