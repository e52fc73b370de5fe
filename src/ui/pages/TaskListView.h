#pragma once

#include "core/app/Services.h"
#include "core/model/Field.h"
#include "core/model/RecordPointer.h"
#include "core/pages/RowFrames.h"

#include <QColor>
#include <QHash>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace quillery {
class Page;
class Record;
class TaskItem;
} // namespace quillery

namespace quillery::ui {

class AddTaskRow;
class HiddenTasksButton;
class RowLifter;
class RowMotion;
class TaskRow;

// The content of a page's scrolling list, top to bottom: one row per
// visible task, the add-task line, the "completed hidden" line when
// completed tasks are hidden, and room to spare under them. It follows the
// store: tasks added, removed (by the book, by the mirror), re-ordered,
// re-indented or ticked show at once, the changes moving into place on a
// spring, rows fading in and out. Its own coordinates are the list space in
// which every row's frame is collected.
//
// Rows can be lifted and moved (RowLifter). While something is lifted the
// list holds still: changes to the page wait until the drop.
class TaskListView final : public QWidget
{
    Q_OBJECT
public:
    static constexpr int BottomRoom = 160;

    TaskListView(Page *page, const Services &services, QWidget *parent = nullptr);
    ~TaskListView() override;

    // Paddings of the list content (the page's own plus the book's insets).
    void setMargins(double leading, double trailing);
    void setAccent(const QColor &accent);
    // A picture of the page: no motion, no input.
    void setSnapshot(bool snapshot);
    // The list is at least as tall as the area it scrolls in.
    void setMinimumContentHeight(int height);
    // A task shown even while completed tasks are hidden (its card is open).
    void setKeptTask(TaskItem *task);

    // The page went away under the list: every row goes, nothing is read
    // from the page again.
    void detachPage();
    // The page shown; null once it was removed.
    Page *page() const;
    bool isSnapshot() const { return m_snapshot; }
    QColor accent() const { return m_accent; }
    double leadingMargin() const { return m_leading; }
    double trailingMargin() const { return m_trailing; }

    // The tasks of the rows shown, in order (tasks removed under their rows
    // are left out).
    QList<TaskItem *> shownTasks() const;

    // Lifting and moving rows.
    RowLifter *lifter() const { return m_lifter; }
    bool isLifted() const;
    // After a drop: the rows that were carried spring from where they were
    // let go to their places, together with any other row that moves.
    void settleAfterLift(const QList<TaskRow *> &carried);

    // Where keyboard focus goes before the first row (the page's title).
    void setTabPredecessor(QWidget *widget);

    // Brings the rows in step with the page (normally done on its own, soon
    // after a change).
    void refreshNow();

    // The rows shown, in order (rows still fading out are not listed).
    QList<TaskRow *> rows() const { return m_rows; }
    TaskRow *rowFor(const QUuid &taskId) const;
    AddTaskRow *addRow() const { return m_addRow; }
    // Where the add line belongs (it may still be springing there).
    QRect addRowFrame() const { return m_addFrame; }
    HiddenTasksButton *hiddenButton() const { return m_hidden; }
    const RowFrames &rowFrames() const { return m_frames; }
    int contentHeight() const { return m_contentHeight; }
    bool isMoving() const;
    // Puts every moving row at the end of its way at once.
    void finishMoving();

Q_SIGNALS:
    void openRequested(quillery::TaskItem *task);
    // A row was lifted (true) or dropped (false).
    void liftedChanged(bool lifted);
    // A keyboard move put `row` in a new place (its frame is already there).
    void rowMovedByKey(quillery::ui::TaskRow *row);
    void rowFramesChanged();
    void contentHeightChanged(int height);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void refreshRows(bool forceLayout);
    void chainFocus();
    void scheduleRefresh();
    void scheduleLayout();
    bool hideCompleted() const;
    TaskRow *makeRow(TaskItem *task);
    void layoutItems(bool animate);
    void placeRow(TaskRow *row, const QRect &frame);
    void recordRemoved(Record *record);
    void recordChanged(Record *record, Field field);

    RecordPointer<Page> m_page;
    RecordPointer<TaskItem> m_kept;
    Services m_services;
    double m_leading = 28;
    double m_trailing = 20;
    QColor m_accent;
    bool m_snapshot = false;
    int m_minimumHeight = 0;

    QList<TaskRow *> m_rows;
    QHash<QUuid, TaskRow *> m_byId;
    QHash<TaskRow *, QRect> m_frameOf; // where each row belongs, drag offset aside
    QList<QPointer<TaskRow>> m_leaving;
    QList<QPointer<QWidget>> m_entering;
    AddTaskRow *m_addRow = nullptr;
    HiddenTasksButton *m_hidden = nullptr;
    bool m_hiddenShown = false;

    RowFrames m_frames;
    QRect m_addFrame;
    int m_contentHeight = 0;
    QTimer m_refreshTimer;
    QTimer m_layoutTimer;
    QTimer m_clock;
    RowMotion *m_motion = nullptr;

    RowLifter *m_lifter = nullptr;
    bool m_settling = false; // offsets cleared without moving the rows
    QPointer<QWidget> m_tabPredecessor;
};

} // namespace quillery::ui
