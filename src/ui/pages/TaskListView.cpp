#include "TaskListView.h"

#include "AddTaskRow.h"
#include "HiddenTasksButton.h"
#include "RowMotion.h"
#include "core/app/Preferences.h"
#include "core/model/Attachment.h"
#include "core/model/Page.h"
#include "core/model/Store.h"
#include "core/model/TaskItem.h"
#include "core/pages/PageTasks.h"
#include "ui/lift/RowLifter.h"
#include "ui/tasks/TaskRow.h"
#include "ui/tasks/TaskRowCheck.h"

#include <QEvent>
#include <QLineEdit>
#include <QResizeEvent>

#include <cmath>

namespace quillery::ui {

TaskListView::TaskListView(Page *page, const Services &services, QWidget *parent)
    : QWidget(parent)
    , m_page(page)
    , m_services(services)
    , m_addRow(new AddTaskRow(*services.appearance, this))
    , m_hidden(new HiddenTasksButton(*services.appearance, this))
{
    m_hidden->hide();
    m_motion = new RowMotion(
        [this](QWidget *widget, const QRect &frame) {
            if (auto *row = qobject_cast<TaskRow *>(widget))
                placeRow(row, frame);
            else
                widget->setGeometry(frame);
        },
        this);
    m_lifter = new RowLifter(this);
    connect(m_lifter, &RowLifter::liftedChanged, this, &TaskListView::liftedChanged);
    connect(m_lifter, &RowLifter::movedByKey, this, &TaskListView::rowMovedByKey);
    m_refreshTimer.setSingleShot(true);
    m_refreshTimer.setInterval(0);
    connect(&m_refreshTimer, &QTimer::timeout, this, &TaskListView::refreshNow);
    m_layoutTimer.setSingleShot(true);
    m_layoutTimer.setInterval(0);
    connect(&m_layoutTimer, &QTimer::timeout, this, [this] { layoutItems(false); });

    // Day words and the overdue red depend on the clock, not only the task.
    m_clock.setInterval(60 * 1000);
    connect(&m_clock, &QTimer::timeout, this, [this] {
        for (TaskRow *row : std::as_const(m_rows))
            row->refreshSummary();
    });
    m_clock.start();

    connect(m_hidden, &QAbstractButton::clicked, this, [this] {
        if (m_services.preferences)
            m_services.preferences->setHideCompleted(false);
    });
    if (m_services.preferences)
        connect(m_services.preferences, &Preferences::hideCompletedChanged, this, &TaskListView::scheduleRefresh);
    if (m_services.store) {
        connect(m_services.store, &Store::recordRemoved, this, &TaskListView::recordRemoved);
        connect(m_services.store, &Store::recordChanged, this, &TaskListView::recordChanged);
    }
    if (page)
        connect(page->notifier(), &PageNotifier::tasksChanged, this, &TaskListView::scheduleRefresh);
    refreshNow();
}

TaskListView::~TaskListView()
{
    // The lifter goes with the list; nothing is written on the way out, and
    // no one is told (the page is going too).
    if (m_lifter->isLifted()) {
        blockSignals(true);
        m_lifter->blockSignals(true);
        m_lifter->abandon();
    }
}

Page *TaskListView::page() const
{
    Page *page = m_page.data();
    return page && !page->isDeleted() ? page : nullptr;
}

QList<TaskItem *> TaskListView::shownTasks() const
{
    QList<TaskItem *> tasks;
    tasks.reserve(m_rows.size());
    for (TaskRow *row : m_rows) {
        if (TaskItem *task = row->task())
            tasks << task;
    }
    return tasks;
}

bool TaskListView::isMoving() const
{
    return m_motion->isRunning();
}

void TaskListView::finishMoving()
{
    m_motion->finish();
}

bool TaskListView::isLifted() const
{
    return m_lifter->isLifted();
}

void TaskListView::setTabPredecessor(QWidget *widget)
{
    m_tabPredecessor = widget;
    chainFocus();
}

void TaskListView::setMargins(double leading, double trailing)
{
    if (m_leading == leading && m_trailing == trailing)
        return;
    m_leading = leading;
    m_trailing = trailing;
    layoutItems(false);
}

void TaskListView::setAccent(const QColor &accent)
{
    m_accent = accent;
    for (TaskRow *row : std::as_const(m_rows))
        row->setAccent(accent);
}

void TaskListView::setSnapshot(bool snapshot)
{
    m_snapshot = snapshot;
    m_addRow->setSnapshot(snapshot);
    if (snapshot) {
        m_lifter->drop();
        m_motion->finish();
    }
}

void TaskListView::setMinimumContentHeight(int height)
{
    m_minimumHeight = height;
}

void TaskListView::setKeptTask(TaskItem *task)
{
    if (m_kept == task)
        return;
    m_kept = task;
    scheduleRefresh();
}

bool TaskListView::hideCompleted() const
{
    return m_services.preferences && m_services.preferences->hideCompleted();
}

TaskRow *TaskListView::rowFor(const QUuid &taskId) const
{
    return m_byId.value(taskId);
}

void TaskListView::scheduleRefresh()
{
    if (m_lifter->isLifted())
        return; // the drop brings the rows in step
    m_refreshTimer.start();
}

void TaskListView::scheduleLayout()
{
    m_layoutTimer.start();
}

void TaskListView::recordRemoved(Record *record)
{
    if (record == m_page.data()) {
        detachPage();
        return;
    }
    if (record->kind() == Record::Kind::Task) {
        // Hidden tasks count too: the "completed hidden" line changes.
        const auto *task = static_cast<TaskItem *>(record);
        if (m_byId.contains(task->id()) || (m_page && task->page() == m_page.data()))
            scheduleRefresh();
    } else if (record->kind() == Record::Kind::Attachment) {
        auto *attachment = static_cast<Attachment *>(record);
        if (TaskItem *task = attachment->task(); task && m_byId.contains(task->id()))
            m_byId.value(task->id())->refreshSummary();
    }
}

void TaskListView::recordChanged(Record *record, Field field)
{
    if (record->kind() != Record::Kind::Task || !m_page)
        return;
    switch (field) {
    case Field::Done:
    case Field::Order:
    case Field::PageLink:
        break;
    default:
        return;
    }
    auto *task = static_cast<TaskItem *>(record);
    if (task->page() == m_page.data() || m_byId.contains(task->id()))
        scheduleRefresh();
}

void TaskListView::detachPage()
{
    if (m_page)
        disconnect(m_page->notifier(), nullptr, this, nullptr);
    m_page = nullptr;
    m_refreshTimer.stop();
    m_lifter->abandon();
    m_motion->finish();
    for (TaskRow *row : std::as_const(m_rows))
        row->deleteLater();
    for (TaskRow *row : std::as_const(m_rows))
        row->hide();
    m_rows.clear();
    m_byId.clear();
    m_frameOf.clear();
    m_addRow->setEnabled(false);
    m_addRow->field()->clearFocus();
    layoutItems(false);
}

TaskRow *TaskListView::makeRow(TaskItem *task)
{
    auto *row = new TaskRow(task, m_services, this);
    row->setAccent(m_accent);
    connect(row, &TaskRow::openRequested, this, &TaskListView::openRequested);
    connect(row, &TaskRow::heightChanged, this, &TaskListView::scheduleLayout);
    connect(row, &TaskRow::liftOffsetChanged, this, [this, row] {
        if (!m_settling && m_frameOf.contains(row))
            placeRow(row, m_frameOf.value(row));
    });
    m_lifter->watch(row);
    return row;
}

void TaskListView::refreshNow()
{
    refreshRows(false);
}

void TaskListView::settleAfterLift(const QList<TaskRow *> &carried)
{
    // Each carried row starts its way home from where it was let go, minus
    // the sideways jump: that becomes the row's own new indentation.
    m_settling = true;
    for (TaskRow *row : carried) {
        row->setLiftOffset(QPointF());
        if (m_frameOf.contains(row))
            row->move(m_frameOf.value(row).left(), row->y());
    }
    m_settling = false;
    refreshRows(true);
}

void TaskListView::refreshRows(bool forceLayout)
{
    if (m_lifter->isLifted())
        return; // the drop brings the rows in step
    m_refreshTimer.stop();
    Page *page = m_page.data();
    const QList<TaskItem *> sorted = page && !page->isDeleted() ? page->sortedTasks() : QList<TaskItem *>();
    const QList<TaskItem *> shown = visibleTasks(sorted, hideCompleted(), m_kept);

    QList<TaskRow *> rows;
    rows.reserve(shown.size());
    QHash<QUuid, TaskRow *> byId;
    byId.reserve(shown.size());
    bool changed = shown.size() != m_rows.size();
    QList<QWidget *> entering;
    for (qsizetype i = 0; i < shown.size(); ++i) {
        TaskItem *task = shown.at(i);
        TaskRow *row = m_byId.take(task->id());
        if (row && row->task() != task) {
            // Another record with the same id (a damaged book): a row each.
            m_byId.insert(task->id(), row);
            row = nullptr;
        }
        if (!row) {
            row = makeRow(task);
            entering << row;
        }
        changed = changed || m_rows.value(i) != row;
        rows << row;
        byId.insert(task->id(), row);
    }
    // Whatever is left lost its place: the task was removed, moved to another
    // page, or is now hidden.
    for (TaskRow *row : std::as_const(m_byId)) {
        m_frameOf.remove(row);
        m_leaving << row;
        changed = true;
    }
    m_rows = rows;
    m_byId = byId;

    const int hidden = hiddenCount(sorted, hideCompleted(), m_kept);
    if (hidden > 0)
        m_hidden->setCount(hidden);
    const bool hiddenShown = hidden > 0;
    if (hiddenShown != m_hiddenShown) {
        m_hiddenShown = hiddenShown;
        changed = true;
        if (hiddenShown)
            entering << m_hidden;
    }
    if (changed)
        chainFocus();
    if (!changed && m_leaving.isEmpty() && !forceLayout)
        return;
    m_entering.clear();
    for (QWidget *widget : std::as_const(entering))
        m_entering << widget;
    layoutItems(!m_snapshot && isVisible());
}

void TaskListView::chainFocus()
{
    // Tab walks the page in the order it reads: the title, each row and its
    // box, then the add line.
    QWidget *previous = m_tabPredecessor.data();
    for (TaskRow *row : std::as_const(m_rows)) {
        if (previous)
            QWidget::setTabOrder(previous, row);
        QWidget::setTabOrder(row, row->checkBox());
        previous = row->checkBox();
    }
    if (previous)
        QWidget::setTabOrder(previous, m_addRow->field());
}

void TaskListView::placeRow(TaskRow *row, const QRect &frame)
{
    const QPointF offset = row->liftOffset();
    row->setGeometry(
        frame.translated(static_cast<int>(std::lround(offset.x())), static_cast<int>(std::lround(offset.y()))));
}

void TaskListView::layoutItems(bool animate)
{
    m_layoutTimer.stop();
    // A motion in progress ends where it was going; the next starts from
    // where it had got to.
    const QHash<QWidget *, QRect> current = m_motion->currentPlaces();
    QList<QPointer<TaskRow>> leaving = m_leaving;
    QList<QPointer<QWidget>> entering = m_entering;
    m_leaving.clear();
    m_entering.clear();
    m_motion->finish();

    const int left = static_cast<int>(std::lround(m_leading));
    const int width = std::max(1, this->width() - left - static_cast<int>(std::lround(m_trailing)));
    using Move = RowMotion::Move;
    QList<Move> moves;
    const auto target = [&](QWidget *widget, const QRect &to, bool wasPlaced) {
        const bool enters
            = std::any_of(entering.begin(), entering.end(), [widget](const auto &w) { return w == widget; });
        Move move { widget, current.value(widget, wasPlaced ? widget->geometry() : to), to,
            enters ? Move::Enter : Move::Stay };
        if (enters)
            move.from = to;
        moves.append(move);
    };

    RowFrames frames;
    int y = 0;
    for (TaskRow *row : std::as_const(m_rows)) {
        const bool wasPlaced = m_frameOf.contains(row);
        const QRect frame(left, y, width, row->heightForWidth(width));
        m_frameOf.insert(row, frame);
        frames.report(row->taskId(), QRectF(frame));
        target(row, frame, wasPlaced);
        y += frame.height();
    }
    const QRect addFrame(left, y, width, m_addRow->heightForWidth(width));
    target(m_addRow, addFrame, true);
    m_addFrame = addFrame;
    y += addFrame.height();
    if (m_hiddenShown) {
        const QRect hiddenFrame(left, y, width, HiddenTasksButton::MinimumHeight);
        target(m_hidden, hiddenFrame, m_hidden->isVisible());
        m_hidden->show();
        y += hiddenFrame.height();
    } else if (m_hidden->isVisible()) {
        m_hidden->hide();
    }
    y += BottomRoom;

    for (const QPointer<TaskRow> &row : std::as_const(leaving)) {
        if (row)
            moves.append(Move { row.data(), row->geometry(), row->geometry(), Move::Leave });
    }

    const bool framesChanged = frames != m_frames;
    m_frames = frames;
    const bool heightChanged = y != m_contentHeight;
    m_contentHeight = y;

    m_motion->run(std::move(moves), animate);

    if (heightChanged)
        Q_EMIT contentHeightChanged(m_contentHeight);
    if (framesChanged)
        Q_EMIT rowFramesChanged();
}

void TaskListView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    // A change of width reflows the rows at once; only list changes move.
    if (event->size().width() != event->oldSize().width())
        layoutItems(false);
}

} // namespace quillery::ui
