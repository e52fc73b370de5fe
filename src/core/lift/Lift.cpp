#include "Lift.h"

#include "core/model/TaskItem.h"

#include <cmath>

namespace quillery {

namespace {

QList<TaskItem *> remaining(const QList<TaskItem *> &visible, const QList<QUuid> &group)
{
    QList<TaskItem *> rest;
    rest.reserve(visible.size());
    for (TaskItem *task : visible) {
        if (!group.contains(task->id()))
            rest.append(task);
    }
    return rest;
}

} // namespace

QList<QUuid> Lift::groupOf(const QList<TaskItem *> &visible, const TaskItem *task)
{
    const qsizetype at = visible.indexOf(const_cast<TaskItem *>(task));
    QList<QUuid> group { task->id() };
    if (at < 0 || task->indent() != 0)
        return group;
    for (qsizetype i = at + 1; i < visible.size() && visible.at(i)->indent() >= 1; ++i)
        group.append(visible.at(i)->id());
    return group;
}

Lift Lift::begin(const QList<TaskItem *> &visible, const TaskItem *task)
{
    return Lift { task->id(), groupOf(visible, task), 0, 0, task->indent() };
}

int Lift::dropIndex(const QList<TaskItem *> &visible, const RowFrames &frames) const
{
    const std::optional<QRectF> head = frames.frame(group.value(0));
    if (!head)
        return 0;
    double height = 0;
    for (const QUuid &member : group) {
        if (const std::optional<QRectF> frame = frames.frame(member))
            height += frame->height();
    }
    const double centre = head->top() + height * 0.5 + dy;
    int slot = 0;
    for (TaskItem *task : visible) {
        if (group.contains(task->id()))
            continue;
        const std::optional<QRectF> frame = frames.frame(task->id());
        const double middle = frame ? frame->center().y() : 0.0;
        if (middle < centre)
            ++slot;
    }
    return slot;
}

bool Lift::dropAsSubtask(const QList<TaskItem *> &visible, const RowFrames &frames) const
{
    if (group.size() > 1)
        return false;
    const double steps = std::round(dx / IndentStep); // halves away from zero
    const double target = startIndent + steps;
    return target > 0 && dropIndex(visible, frames) != 0;
}

QSizeF Lift::offset(const QUuid &taskId, const QList<TaskItem *> &visible, const RowFrames &frames) const
{
    if (!carries(taskId))
        return { 0, 0 };
    const double level = dropAsSubtask(visible, frames) ? 1 : 0;
    return { (level - startIndent) * IndentStep, dy };
}

double Lift::indicatorY(const QList<TaskItem *> &visible, const RowFrames &frames) const
{
    const QList<TaskItem *> rest = remaining(visible, group);
    const int slot = dropIndex(visible, frames);
    if (slot < rest.size()) {
        if (const std::optional<QRectF> frame = frames.frame(rest.at(slot)->id()))
            return frame->top();
    }
    if (!rest.isEmpty()) {
        if (const std::optional<QRectF> frame = frames.frame(rest.last()->id()))
            return frame->bottom();
    }
    return 0;
}

int Lift::currentSlot(const QList<TaskItem *> &visible, const QList<QUuid> &group)
{
    int slot = 0;
    for (TaskItem *task : visible) {
        if (group.contains(task->id()))
            return slot;
        ++slot;
    }
    return slot;
}

void Lift::commit(const QList<TaskItem *> &sorted, const QList<TaskItem *> &visible, const RowFrames &frames) const
{
    commitAt(sorted, visible, group, dropIndex(visible, frames), dropAsSubtask(visible, frames));
}

void Lift::commitAt(const QList<TaskItem *> &sorted, const QList<TaskItem *> &visible, const QList<QUuid> &group,
    int slot, bool asSubtask)
{
    const QList<TaskItem *> rest = remaining(visible, group);
    QList<TaskItem *> carried;
    QList<TaskItem *> others;
    for (TaskItem *task : sorted)
        (group.contains(task->id()) ? carried : others).append(task);

    qsizetype at = others.size();
    if (slot >= 0 && slot < rest.size()) {
        const qsizetype found = others.indexOf(rest.at(slot));
        if (found >= 0)
            at = found;
    } else if (slot == rest.size() && !rest.isEmpty()) {
        const qsizetype found = others.indexOf(rest.last());
        if (found >= 0)
            at = found + 1;
    }
    QList<TaskItem *> sequence = others;
    for (qsizetype i = 0; i < carried.size(); ++i)
        sequence.insert(at + i, carried.at(i));

    for (qsizetype i = 0; i < sequence.size(); ++i)
        sequence.at(i)->setOrder(double(i));
    if (!carried.isEmpty())
        carried.first()->setIndent(asSubtask ? 1 : 0);
}

void Lift::commitLevel(const QList<TaskItem *> &sorted, TaskItem *task, bool asSubtask)
{
    for (qsizetype i = 0; i < sorted.size(); ++i)
        sorted.at(i)->setOrder(double(i));
    if (task)
        task->setIndent(asSubtask ? 1 : 0);
}

} // namespace quillery
