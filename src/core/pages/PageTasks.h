#pragma once

#include <QList>

namespace quillery {

class Page;
class TaskItem;

// The rows a page shows: its live tasks in order, without the done ones when
// completed tasks are hidden. Every task is judged by its own done mark only:
// an open subtask of a done task stays, a done subtask of an open one goes.
// `kept` (the task whose card is open) shows even when done.
QList<TaskItem *> visibleTasks(const Page &page, bool hideCompleted, const TaskItem *kept = nullptr);
QList<TaskItem *> visibleTasks(
    const QList<TaskItem *> &sortedTasks, bool hideCompleted, const TaskItem *kept = nullptr);

// How many tasks "Hide Completed" keeps off the page (0 when showing all).
int hiddenCount(const Page &page, bool hideCompleted, const TaskItem *kept = nullptr);
int hiddenCount(const QList<TaskItem *> &sortedTasks, bool hideCompleted, const TaskItem *kept = nullptr);

// A blank page has no title and no live tasks: tearing it out loses nothing,
// and the book never turns past one.
bool isBlank(const Page &page);

} // namespace quillery
