#include "PageTasks.h"

#include "core/model/Page.h"
#include "core/model/TaskItem.h"

#include <algorithm>

namespace quillery {

QList<TaskItem *> visibleTasks(const QList<TaskItem *> &sortedTasks, bool hideCompleted)
{
    if (!hideCompleted)
        return sortedTasks;
    QList<TaskItem *> shown;
    shown.reserve(sortedTasks.size());
    std::copy_if(sortedTasks.begin(), sortedTasks.end(), std::back_inserter(shown),
        [](const TaskItem *task) { return !task->done(); });
    return shown;
}

QList<TaskItem *> visibleTasks(const Page &page, bool hideCompleted)
{
    return visibleTasks(page.sortedTasks(), hideCompleted);
}

int hiddenCount(const QList<TaskItem *> &sortedTasks, bool hideCompleted)
{
    if (!hideCompleted)
        return 0;
    return static_cast<int>(
        std::count_if(sortedTasks.begin(), sortedTasks.end(), [](const TaskItem *task) { return task->done(); }));
}

int hiddenCount(const Page &page, bool hideCompleted)
{
    return hiddenCount(page.sortedTasks(), hideCompleted);
}

bool isBlank(const Page &page)
{
    if (!page.title().isEmpty())
        return false;
    return std::none_of(
        page.tasks().begin(), page.tasks().end(), [](const TaskItem *task) { return !task->isDeleted(); });
}

} // namespace quillery
