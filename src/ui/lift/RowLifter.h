#pragma once

#include "core/lift/Lift.h"

#include <QList>
#include <QObject>
#include <QPointF>
#include <QPointer>

#include <optional>

class QVariantAnimation;
class QWidget;

namespace quillery::ui {

class DropIndicator;
class LongPressDrag;
class TaskListView;
class TaskRow;

// Moves the tasks of one list. A row pressed and held is lifted with the
// subtasks under it: the group follows the pointer up and down, jumps
// between the two levels sideways, and a bar in the page's colour marks the
// slot it would land in. Letting go (or an interrupted gesture) renumbers the
// page for that slot and the rows spring into their new places. The same
// renumbering serves the keyboard: a row can be moved a slot at a time and
// indented or outdented.
//
// Only this list's rows take part; the page locks scrolling and tells the
// book while something is lifted (liftedChanged).
class RowLifter final : public QObject
{
    Q_OBJECT
public:
    static constexpr double LiftedScale = 1.03;

    explicit RowLifter(TaskListView *list);
    ~RowLifter() override;

    // Lets `row` be lifted and moved by keys.
    void watch(TaskRow *row);

    // How long a press is held before it lifts (shortened by tests).
    int holdDuration() const;
    void setHoldDuration(int msecs);

    bool isLifted() const { return m_lift.has_value(); }
    const std::optional<Lift> &lift() const { return m_lift; }
    // Where the lifted group would land now: its slot among the other rows
    // and whether it would become a subtask; -1 and false with nothing lifted.
    int dropSlot() const { return m_lift ? m_slot : -1; }
    bool dropsAsSubtask() const { return m_lift && m_asSubtask; }
    TaskRow *liftedRow() const { return m_lift ? m_pressed.data() : nullptr; }
    DropIndicator *indicator() const { return m_indicator; }

    // Ends a lift as a release does (writes the new order).
    void drop();
    // Ends a lift without writing anything (the page went away).
    void abandon();

    // Keyboard moves: the row's group `slots` up or down, or the row made a
    // subtask (level 1) or a top-level task (0). False when nothing changed.
    bool moveBy(TaskRow *row, int slots);
    bool setLevel(TaskRow *row, int level);

Q_SIGNALS:
    void liftedChanged(bool lifted);
    // The slot under the pointer changed while lifted.
    void dropSlotChanged(int slot);
    // A keyboard move changed the page; `row` is where it now belongs.
    void movedByKey(quillery::ui::TaskRow *row);

private:
    void begin(QWidget *source, const QPointF &globalPos);
    void track(const QPointF &globalPos);
    void follow();
    void end(bool write);
    void springScale(TaskRow *row, double to);

    TaskListView *m_list;
    LongPressDrag *m_gesture;
    DropIndicator *m_indicator;

    std::optional<Lift> m_lift;
    QPointF m_origin; // list coordinates of the pointer when the lift began
    QPointer<TaskRow> m_pressed;
    QList<QPointer<TaskRow>> m_carried;
    int m_slot = -1;
    bool m_asSubtask = false;
    QPointer<QVariantAnimation> m_scaleMotion;
};

} // namespace quillery::ui
