#pragma once

#include "SearchResults.h"
#include "TextFolder.h"
#include "core/model/Field.h"

#include <QHash>
#include <QObject>
#include <QString>

#include <vector>

namespace quillery {

class Attachment;
class Page;
class Record;
class Store;
class TaskItem;

// The folded text of every task and page title of a store, kept in memory
// and up to date from the store's change notifications, and the search over
// it. Built on the first search (so a book that is never searched costs
// nothing at start-up). A query that extends the previous one looks only at
// the tasks the previous one found.
class SearchIndex final : public QObject
{
    Q_OBJECT
public:
    explicit SearchIndex(Store &store, const TextFolder &folder = TextFolder(), QObject *parent = nullptr);
    ~SearchIndex() override;

    const TextFolder &folder() const { return m_folder; }

    // Tasks whose text, place name, attachment names or notes contain
    // `query`, and pages whose title does, folded alike; ranked (see
    // SearchResults) with `current` first. At most `limit` tasks are listed,
    // the best ones; pages whose title matches are always listed.
    SearchResults search(const QString &query, const Page *current, int limit = 500);

private:
    // A task's folded text, place name, attachment names and notes in one
    // string, in the order they rank, each ended by a newline (which folded
    // text never holds), so one look finds the best field that matches.
    struct TaskEntry {
        TaskItem *task = nullptr;
        QString folded;
        int placeAt = 0;
        int attachmentsAt = 0;
        int notesAt = 0;
    };
    struct Candidate {
        int entry;
        SearchField field;
    };

    void build();
    void fill(TaskEntry &entry) const;
    void addTask(TaskItem *task);
    void removeTask(TaskItem *task);
    void refreshTask(TaskItem *task);
    void recordInserted(Record *record);
    void recordRemoved(Record *record);
    void recordChanged(Record *record, Field field);
    void invalidate() { m_lastQuery.clear(); }
    std::optional<SearchField> matchField(const TaskEntry &entry, QStringView query) const;

    Store &m_store;
    TextFolder m_folder;
    bool m_built = false;
    std::vector<TaskEntry> m_entries;
    QHash<TaskItem *, int> m_entryOf;
    QHash<Page *, QString> m_titles;
    QHash<Attachment *, TaskItem *> m_ownerOf; // the task an attachment was last seen with
    QString m_lastQuery;
    std::vector<Candidate> m_lastCandidates;
};

} // namespace quillery
