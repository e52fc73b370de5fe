#include "RowLifter.h"

#include "DropIndicator.h"
#include "LongPressDrag.h"
#include "core/model/Page.h"
#include "core/model/TaskItem.h"
#include "ui/pages/TaskListView.h"
#include "ui/tasks/TaskRow.h"
#include "ui/theme/Motion.h"

#include <QVariantAnimation>

namespace quillery::ui {

namespace {
const Spring LiftSpring { 0.5, 0.85 };
} // namespace

RowLifter::RowLifter(TaskListView *list)
    : QObject(list)
    , m_list(list)
    , m_gesture(new LongPressDrag(this))
    , m_indicator(new DropIndicator(list))
{
    connect(m_gesture, &LongPressDrag::started, this, &RowLifter::begin);
    connect(m_gesture, &LongPressDrag::moved, this, &RowLifter::track);
    connect(m_gesture, &LongPressDrag::finished, this, &RowLifter::drop);
}

RowLifter::~RowLifter()
{
    if (m_scaleMotion)
        m_scaleMotion->stop();
}

void RowLifter::watch(TaskRow *row)
{
    m_gesture->watch(row);
    connect(row, &TaskRow::moveRequested, this, [this, row](int slots) { moveBy(row, slots); });
    connect(row, &TaskRow::levelRequested, this, [this, row](int level) { setLevel(row, level); });
}

int RowLifter::holdDuration() const
{
    return m_gesture->holdDuration();
}

void RowLifter::setHoldDuration(int msecs)
{
    m_gesture->setHoldDuration(msecs);
}

void RowLifter::begin(QWidget *source, const QPointF &globalPos)
{
    auto *row = qobject_cast<TaskRow *>(source);
    TaskItem *task = row ? row->task() : nullptr;
    if (m_lift || !task || !m_list->page() || m_list->isSnapshot() || !m_list->rows().contains(row))
        return;
    row->cancelPress();
    m_list->finishMoving(); // rows still springing from an earlier change land first

    const QList<TaskItem *> visible = m_list->shownTasks();
    m_lift = Lift::begin(visible, task);
    m_origin = m_list->mapFromGlobal(globalPos);
    m_pressed = row;
    m_carried.clear();
    for (const QUuid &id : std::as_const(m_lift->group)) {
        if (TaskRow *carried = m_list->rowFor(id)) {
            m_carried << carried;
            carried->raise();
        }
    }
    // The bar lies over the list, and the pressed row, with its paper and
    // shadow, over the bar where they meet.
    m_indicator->setColor(m_list->accent());
    m_indicator->raise();
    m_indicator->show();
    row->setLifted(true); // above the rows it carries, shadow included
    springScale(row, LiftedScale);
    m_slot = -1;
    follow();
    Q_EMIT liftedChanged(true);
}

void RowLifter::track(const QPointF &globalPos)
{
    if (!m_lift)
        return;
    const QPointF delta = m_list->mapFromGlobal(globalPos) - m_origin;
    if (delta.x() == m_lift->dx && delta.y() == m_lift->dy)
        return;
    m_lift->dx = delta.x();
    m_lift->dy = delta.y();
    follow();
}

void RowLifter::follow()
{
    const QList<TaskItem *> visible = m_list->shownTasks();
    const RowFrames &frames = m_list->rowFrames();
    const int slot = m_lift->dropIndex(visible, frames);
    m_asSubtask = m_lift->dropAsSubtask(visible, frames);
    // Every carried row is displaced alike: the pointer's way down, and the
    // level it would land on sideways.
    const QPointF offset(((m_asSubtask ? 1 : 0) - m_lift->startIndent) * Lift::IndentStep, m_lift->dy);
    for (const QPointer<TaskRow> &row : std::as_const(m_carried)) {
        if (row)
            row->setLiftOffset(offset);
    }
    const double left = m_list->leadingMargin() + (m_asSubtask ? Lift::IndentStep : 0);
    m_indicator->place(left, m_list->width() - m_list->trailingMargin(), m_lift->indicatorY(visible, frames));
    if (slot != m_slot) {
        m_slot = slot;
        Q_EMIT dropSlotChanged(slot);
    }
}

void RowLifter::drop()
{
    end(true);
}

void RowLifter::abandon()
{
    end(false);
}

void RowLifter::end(bool write)
{
    if (!m_lift)
        return;
    const Lift lift = *m_lift;
    m_lift.reset();
    m_indicator->hide();
    if (m_gesture->state() != LongPressDrag::State::Idle)
        m_gesture->finish(); // ended from outside the gesture

    Page *page = m_list->page();
    // A task removed while it was carried has nothing left to place.
    const bool pressedAlive = m_pressed && m_pressed->task();
    if (write && page && pressedAlive)
        lift.commit(page->sortedTasks(), m_list->shownTasks(), m_list->rowFrames());

    QList<TaskRow *> carried;
    for (const QPointer<TaskRow> &row : std::as_const(m_carried)) {
        if (row)
            carried << row.data();
    }
    if (m_pressed) {
        m_pressed->setLifted(false);
        springScale(m_pressed, 1.0);
    }
    m_pressed = nullptr;
    m_carried.clear();
    m_slot = -1;
    m_list->settleAfterLift(carried);
    Q_EMIT liftedChanged(false);
}

void RowLifter::springScale(TaskRow *row, double to)
{
    if (m_scaleMotion)
        m_scaleMotion->stop();
    if (m_list->isSnapshot() || !row->isVisible()) {
        row->setLiftScale(to);
        return;
    }
    QPointer<TaskRow> target(row);
    m_scaleMotion = motion::spring(this, LiftSpring, row->liftScale(), to, [target](const QVariant &value) {
        if (target)
            target->setLiftScale(value.toDouble());
    });
}

bool RowLifter::moveBy(TaskRow *row, int slots)
{
    TaskItem *task = row->task();
    Page *page = m_list->page();
    if (m_lift || !task || !page || m_list->isSnapshot() || slots == 0)
        return false;
    const QList<TaskItem *> visible = m_list->shownTasks();
    if (!visible.contains(task))
        return false;
    const QList<QUuid> group = Lift::groupOf(visible, task);
    const int slot = Lift::currentSlot(visible, group);
    const int others = static_cast<int>(visible.size() - group.size());
    const int target = std::clamp(slot + slots, 0, others);
    if (target == slot)
        return false;
    // As a drag straight up or down would: a subtask stays one unless it
    // reaches the top, where there is nothing to hang under.
    const bool asSubtask = group.size() == 1 && task->indent() > 0 && target != 0;
    Lift::commitAt(page->sortedTasks(), visible, group, target, asSubtask);
    m_list->refreshNow();
    Q_EMIT movedByKey(row);
    return true;
}

bool RowLifter::setLevel(TaskRow *row, int level)
{
    TaskItem *task = row->task();
    Page *page = m_list->page();
    if (m_lift || !task || !page || m_list->isSnapshot())
        return false;
    const QList<TaskItem *> visible = m_list->shownTasks();
    if (!visible.contains(task))
        return false;
    const bool subtask = level > 0;
    if (subtask == (task->indent() > 0))
        return false;
    if (subtask) {
        // Only a task without subtasks can go under another, and only when
        // there is a row above it.
        if (Lift::groupOf(visible, task).size() > 1 || visible.indexOf(task) == 0)
            return false;
    }
    Lift::commitLevel(page->sortedTasks(), task, subtask);
    m_list->refreshNow();
    Q_EMIT movedByKey(row);
    return true;
}

} // namespace quillery::ui
