// Moving tasks by press-and-drag: the carried group, the slot, the level and
// the renumbering of the whole page.
#include "core/lift/Lift.h"
#include "core/model/TaskItem.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace quillery;

namespace {

constexpr double RowHeight = 44;

// A page's tasks in order, with rows stacked 44 points apart.
class Rows
{
public:
    TaskItem *add(const char *text, int indent = 0, bool done = false)
    {
        auto task = std::make_unique<TaskItem>(QString::fromLatin1(text), double(m_tasks.size() + 1));
        task->setIndent(indent);
        task->setDone(done);
        m_sorted.append(task.get());
        m_tasks.push_back(std::move(task));
        return m_sorted.last();
    }

    // The visible rows (done tasks hidden when asked) and their frames.
    QList<TaskItem *> visible(bool hideDone = false) const
    {
        QList<TaskItem *> list;
        for (TaskItem *task : m_sorted)
            if (!hideDone || !task->done())
                list.append(task);
        return list;
    }
    RowFrames frames(const QList<TaskItem *> &visible) const
    {
        RowFrames frames;
        for (qsizetype i = 0; i < visible.size(); ++i)
            frames.report(visible.at(i)->id(), QRectF(0, i * RowHeight, 500, RowHeight));
        return frames;
    }
    const QList<TaskItem *> &sorted() const { return m_sorted; }

    // The page's texts in order of their new `order`, with the subtasks marked.
    QStringList order() const
    {
        QList<TaskItem *> byOrder = m_sorted;
        std::stable_sort(
            byOrder.begin(), byOrder.end(), [](TaskItem *a, TaskItem *b) { return a->order() < b->order(); });
        QStringList texts;
        for (TaskItem *task : byOrder)
            texts.append(QString(task->indent() > 0 ? "  " : "") + task->text());
        return texts;
    }

private:
    std::vector<std::unique_ptr<TaskItem>> m_tasks;
    QList<TaskItem *> m_sorted;
};

RowFrames withoutFrame(const RowFrames &frames, const QUuid &gone)
{
    RowFrames kept;
    for (auto it = frames.frames().cbegin(); it != frames.frames().cend(); ++it)
        if (it.key() != gone)
            kept.report(it.key(), it.value());
    return kept;
}

Lift drag(const QList<TaskItem *> &visible, TaskItem *task, double dx, double dy)
{
    Lift lift = Lift::begin(visible, task);
    lift.dx = dx;
    lift.dy = dy;
    return lift;
}

} // namespace

// The page-level drags are tried on a real page; here the edges of the level
// rule: a hair short of half a step, and nothing to hang under at the top.
TEST(Lift, halfAStepSidewaysChangesTheLevelButNothingHangsUnderTheTop)
{
    Rows rows;
    rows.add("a");
    rows.add("sub", 1);
    TaskItem *c = rows.add("c");
    const auto visible = rows.visible();
    const auto frames = rows.frames(visible);
    EXPECT_TRUE(drag(visible, c, 15, -RowHeight).dropAsSubtask(visible, frames));
    EXPECT_FALSE(drag(visible, c, 14.9, -RowHeight).dropAsSubtask(visible, frames));
    EXPECT_FALSE(drag(visible, c, 40, -2 * RowHeight - 10).dropAsSubtask(visible, frames)) << "nothing above";
}

TEST(Lift, hiddenDoneTasksKeepTheirPlacesBesideTheirVisibleNeighbours)
{
    Rows rows;
    rows.add("a");
    rows.add("done1", 0, true);
    rows.add("b");
    TaskItem *c = rows.add("c");
    rows.add("done2", 0, true);
    const auto visible = rows.visible(true); // a, b, c
    const auto frames = rows.frames(visible);

    // c moves above b: the hidden task between a and b stays after a.
    drag(visible, c, 0, -RowHeight).commit(rows.sorted(), visible, frames);
    EXPECT_EQ(rows.order(), (QStringList { "a", "done1", "c", "b", "done2" }));
}

TEST(Lift, rowsWithoutFramesCountAtTheTop)
{
    Rows rows;
    rows.add("a");
    TaskItem *b = rows.add("b");
    TaskItem *c = rows.add("c");
    const auto visible = rows.visible();
    RowFrames frames = withoutFrame(rows.frames(visible), b->id());
    // b has no frame: it counts as lying at y = 0, above any drop.
    EXPECT_EQ(drag(visible, c, 0, -2 * RowHeight).dropIndex(visible, frames), 1);
    // No frame for the pressed task, or no rows at all: slot 0.
    frames = withoutFrame(frames, c->id());
    EXPECT_EQ(drag(visible, c, 0, 500).dropIndex(visible, frames), 0);
    EXPECT_EQ(Lift::begin(visible, c).dropIndex({}, {}), 0);
}

TEST(Lift, keyboardMovesAndIndentsLeaveEveryOtherTaskInPlace)
{
    Rows rows;
    rows.add("a");
    TaskItem *b = rows.add("b");
    TaskItem *b1 = rows.add("b1", 1);
    rows.add("done", 0, true);
    rows.add("c");
    const auto visible = rows.visible();
    EXPECT_EQ(Lift::groupOf(visible, b1), QList<QUuid> { b1->id() }) << "a subtask moves alone";
    const QList<QUuid> group = Lift::groupOf(visible, b);
    const int slot = Lift::currentSlot(visible, group);
    EXPECT_EQ(slot, 1);
    Lift::commitAt(rows.sorted(), visible, group, slot - 1, false);
    EXPECT_EQ(rows.order(), (QStringList { "b", "  b1", "a", "done", "c" }));

    // Hidden or not, the task after an indented one stays after it: only the
    // level changes (a drop into its own slot would put it after the hidden task).
    Rows again;
    again.add("a");
    TaskItem *x = again.add("x");
    again.add("done", 0, true);
    again.add("c");
    Lift::commitLevel(again.sorted(), x, true);
    EXPECT_EQ(again.order(), (QStringList { "a", "  x", "done", "c" }));
    Lift::commitLevel(again.sorted(), x, false);
    EXPECT_EQ(x->indent(), 0);
}
