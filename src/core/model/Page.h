#pragma once

#include "Record.h"
#include "StoredField.h"

#include <QList>
#include <QString>

namespace quillery {

class TaskItem;

// One page of the book: its place in the book, title, paper colour and tasks.
class Page final : public Record
{
public:
    explicit Page(double position = 0, int colorIndex = 0);
    explicit Page(LoadTag tag)
        : Record(tag)
    { }
    ~Page() override;

    static constexpr Kind kindOf = Kind::Page;
    Kind kind() const override { return kindOf; }
    PageNotifier *notifier() const { return static_cast<PageNotifier *>(Record::notifier()); }
    // Every stored field, in the order of the columns.
    static std::span<const StoredField> fields();

    double position() const { return m_position; }
    void setPosition(double position);

    QString title() const { return m_title; }
    void setTitle(const QString &title);

    int colorIndex() const { return m_colorIndex; }
    void setColorIndex(int index);

    // Every task whose `page` is this page, in no particular order. A task
    // removed from the store stays listed until the store has processed the
    // removal (at the latest on the next save); use sortedTasks() to see the
    // live tasks only. While the store is still reading a book opened page
    // first, asking for the tasks of a page not yet read finishes the reading.
    const QList<TaskItem *> &tasks() const
    {
        if (!m_tasksRead)
            readTasks();
        return m_tasks;
    }

    // The live tasks, ascending by `order`, equal orders oldest first.
    QList<TaskItem *> sortedTasks() const;

private:
    std::unique_ptr<RecordNotifier> makeNotifier() const override { return std::make_unique<PageNotifier>(); }

    friend class TaskItem;
    friend class Store;
    friend class StoreRest;
    void attachTask(TaskItem *task);
    void detachTask(TaskItem *task);
    void readTasks() const;

    double m_position = 0;
    QString m_title;
    int m_colorIndex = 0;
    QList<TaskItem *> m_tasks;
    bool m_tasksRead = true; // false while the store still reads this page's tasks
};

} // namespace quillery
