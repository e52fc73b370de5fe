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
    // A task's folded text, place name, attachment names and notes, one
    // after the other in the order they rank, each ended by a newline (which
    // folded text never holds), so one look finds the best field that
    // matches; and copies of what ranking reads, so that a search touches
    // nothing but the index.
    struct TaskEntry {
        TaskItem *task = nullptr;
        const Page *page = nullptr;
        double order = 0;
        qint64 created = 0;
        int start = 0; // in m_text
        int placeAt = 0;
        int attachmentsAt = 0;
        int notesAt = 0;
        int end = 0;
    };
    struct Candidate {
        int entry;
        SearchField field;
    };

    void build();
    void fill(TaskEntry &entry);
    void compact();
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
    // The folded text of every entry; a refreshed entry's text is written
    // anew at the end, and the buffer is compacted once half of it is stale.
    QString m_text;
    qsizetype m_stale = 0;
    QHash<TaskItem *, int> m_entryOf;
    QHash<Page *, QString> m_titles;
    QHash<Attachment *, TaskItem *> m_ownerOf; // the task an attachment was last seen with
    QString m_lastQuery;
    std::vector<Candidate> m_lastCandidates;
};

} // namespace quillery
