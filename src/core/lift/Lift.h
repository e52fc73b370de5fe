#pragma once

#include "core/pages/RowFrames.h"

#include <QList>
#include <QSizeF>
#include <QUuid>

#include <optional>

namespace quillery {

class TaskItem;

// One press-and-drag of a task row in progress: the pressed task carries its
// subtasks along (its group); moving vertically picks the slot between the
// remaining rows, moving horizontally decides whether a single task becomes a
// subtask of the row above the slot.
struct Lift {
    QUuid id; // the pressed task
    QList<QUuid> group; // the pressed task first, then the subtasks it carries
    double dx = 0; // drag translation, points (right and down positive)
    double dy = 0;
    int startIndent = 0;

    static constexpr double IndentStep = 30.0;

    // The lift of `task` as a press begins; `visible` is the page's visible
    // task list in display order.
    static Lift begin(const QList<TaskItem *> &visible, const TaskItem *task);

    // The pressed task's id, followed by the subtasks under it when it is a
    // top-level task (a subtask moves alone).
    static QList<QUuid> groupOf(const QList<TaskItem *> &visible, const TaskItem *task);

    // The slot among the rows that are not carried: how many of them lie
    // above the dragged centre of the group.
    int dropIndex(const QList<TaskItem *> &visible, const RowFrames &frames) const;

    // Whether the moved task lands as a subtask: only a single task, dragged
    // at least half a step right of its level, with a row above its slot.
    bool dropAsSubtask(const QList<TaskItem *> &visible, const RowFrames &frames) const;

    // How far a carried row is drawn from its place: it follows the pointer
    // vertically and jumps between the two levels horizontally.
    QSizeF offset(const QUuid &taskId, const QList<TaskItem *> &visible, const RowFrames &frames) const;

    // Where the slot indicator is drawn, in list coordinates.
    double indicatorY(const QList<TaskItem *> &visible, const RowFrames &frames) const;

    bool carries(const QUuid &taskId) const { return group.contains(taskId); }

    // Renumbers the whole page for a drop at the current position: the group
    // goes into its slot (hidden done tasks keep their places next to their
    // visible neighbours), every task's order becomes its position 0, 1, 2 …,
    // and the pressed task's level becomes 1 or 0. `sorted` is the page's
    // full sorted task list.
    void commit(const QList<TaskItem *> &sorted, const QList<TaskItem *> &visible, const RowFrames &frames) const;

    // The same renumbering for a drop into `slot` (an index among the rows
    // not carried), as a keyboard move does it.
    static void commitAt(const QList<TaskItem *> &sorted, const QList<TaskItem *> &visible, const QList<QUuid> &group,
        int slot, bool asSubtask);

    // The renumbering without a move, as a keyboard indent or outdent does
    // it: every task keeps its place (hidden ones included), orders become
    // 0, 1, 2 … and `task`'s level becomes 1 or 0.
    static void commitLevel(const QList<TaskItem *> &sorted, TaskItem *task, bool asSubtask);

    // The slot the group of `task` occupies now among the rows it does not
    // carry.
    static int currentSlot(const QList<TaskItem *> &visible, const QList<QUuid> &group);
};

} // namespace quillery
