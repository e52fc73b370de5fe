#include "Page.h"

#include "Store.h"
#include "TaskItem.h"

#include <algorithm>

namespace quillery {

Page::Page(double position, int colorIndex)
    : m_position(position)
    , m_colorIndex(colorIndex)
{ }

Page::~Page()
{
    // Tasks outlive a page only when it is destroyed without being removed
    // from the store (never in the program, possible in tests): they simply
    // lose their page.
    for (TaskItem *task : std::as_const(m_tasks))
        task->m_page = nullptr;
}

void Page::readTasks() const
{
    if (Store *store = this->store())
        store->finishLoading();
}

std::span<const StoredField> Page::fields()
{
    using fields::value;
    static const StoredField table[] = {
        value<&Page::m_position, &Page::setPosition>(Field::Position, "position", "position", 0),
        value<&Page::m_title, &Page::setTitle>(Field::Title, "title", "title"),
        value<&Page::m_colorIndex, &Page::setColorIndex>(Field::ColorIndex, "colorIndex", "color_index", 0),
        createdField(),
    };
    return table;
}

void Page::setPosition(double position)
{
    assign(m_position, position, Field::Position, &PageNotifier::positionChanged);
}

void Page::setTitle(const QString &title)
{
    assign(m_title, title, Field::Title, &PageNotifier::titleChanged);
}

void Page::setColorIndex(int index)
{
    assign(m_colorIndex, index, Field::ColorIndex, &PageNotifier::colorIndexChanged);
}

QList<TaskItem *> Page::sortedTasks() const
{
    QList<TaskItem *> live;
    live.reserve(tasks().size());
    for (TaskItem *task : m_tasks) {
        if (!task->isDeleted())
            live.append(task);
    }
    std::stable_sort(live.begin(), live.end(), [](const TaskItem *a, const TaskItem *b) {
        if (a->order() != b->order())
            return a->order() < b->order();
        return a->createdMSecs() < b->createdMSecs();
    });
    return live;
}

void Page::attachTask(TaskItem *task)
{
    m_tasks.append(task);
    notify(&PageNotifier::tasksChanged);
}

void Page::detachTask(TaskItem *task)
{
    if (m_tasks.removeOne(task))
        notify(&PageNotifier::tasksChanged);
}

} // namespace quillery
