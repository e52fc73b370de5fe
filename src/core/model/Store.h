#pragma once

#include "Attachment.h"
#include "Field.h"
#include "Page.h"
#include "StoreOpenError.h"
#include "TaskItem.h"
#include "core/util/Clock.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QTimer>

#include <memory>
#include <optional>

namespace SQLite {
class Database;
}

namespace quillery {

class StoreRest;
class StoreWriter;

// A deleted record whose row (if it has one) is still in the file.
struct StoreRemoval {
    Record::Kind kind;
    qint64 rowId; // 0 when the record was never written
    QUuid id;
    qint64 when; // ms since the epoch
    bool pending = true; // the mirror still has to send the deletion
};

// The one store of the book: it owns every record, keeps them in an SQLite
// file (write-ahead log), and tells views about every insert, removal and
// field change. Changes are saved automatically soon after they are made
// (well within a second); save() writes at once.
//
// Removing a record marks it (and what it cascades to: a page's tasks, a
// task's attachments) deleted at once; the store lets go of the objects when
// it processes pending changes, on the next pass of the event loop or at the
// latest on the next save. Views keep records in a RecordPointer or watch
// recordRemoved, and never assume a record they hold is still alive.
class Store final : public QObject
{
    Q_OBJECT
public:
    // Opens the book at `path`, creating it (mode 0600) when the file does not
    // exist. Returns null and fills `error` when the file cannot be used; the
    // file and its write-ahead log are then left exactly as they were: they
    // are only ever inspected read-only, and opened for writing once accepted.
    // Every time stamp the store gives comes from `clock`.
    static std::unique_ptr<Store> open(
        const QString &path, StoreOpenError *error, const Clock &clock = Clock::system());

    // Opens the book like open(), but before it returns reads only the pages
    // and the tasks (with their attachments) of the page whose id text is
    // `firstPage`, or of the first page when no page has that id. The rest of
    // the book is read in short slices on the event loop, as it was when it
    // was opened; then the file's integrity is checked on another thread.
    // Whatever needs the whole book (tasks(), attachments(), the tasks of
    // another page, a look-up by id, save()) waits for the rest to be read.
    // Nothing is written to the file before the check has passed; when the
    // check (or reading the rest) finds the file damaged, damaged() says why
    // and the changes stay unsaved.
    static std::unique_ptr<Store> openPageFirst(
        const QString &path, const QString &firstPage, StoreOpenError *error, const Clock &clock = Clock::system());

    ~Store() override; // saves what is unsaved

    // Whether the rest of a book opened page first is still being read.
    bool isLoading() const;
    // Reads the rest of the book now (nothing when it is read).
    void finishLoading() const;
    // The damage found after the book was opened page first, if any.
    std::optional<StoreOpenError> damage() const { return m_damage; }

    QString path() const { return m_path; }
    const Clock &clock() const { return *m_clock; }

    // Takes ownership of a new record and makes it live.
    void insert(Record *record);
    // Marks a live record (and its cascade) deleted. Records never inserted
    // are left to their owner.
    void remove(Record *record);
    // Puts back, under its old id, a record that was removed (an undone
    // deletion): inserted like a new one, but stamped later than its
    // deletion, so the mirror sees the record change rather than stay
    // deleted. Refused (false, the record left to its owner) while a live
    // record has that id.
    bool restore(Record *record);

    // Marks the changes made while it lives as the program's own upkeep
    // (pages made ready past the end, blank tasks cleared away, versions
    // merged from another computer) rather than edits by the user.
    class Housekeeping final
    {
    public:
        explicit Housekeeping(Store &store)
            : m_store(store)
        {
            ++m_store.m_housekeeping;
        }
        ~Housekeeping() { --m_store.m_housekeeping; }
        Housekeeping(const Housekeeping &) = delete;
        Housekeeping &operator=(const Housekeeping &) = delete;

    private:
        Store &m_store;
    };
    bool isHousekeeping() const { return m_housekeeping > 0; }

    // Writes every unsaved change in one transaction. On failure the changes
    // stay unsaved and `error` says why; the store tries again by itself,
    // waiting longer after each failure (2 s doubling to a minute by default),
    // and edits made meanwhile wait for that attempt.
    bool save(QString *error = nullptr);
    bool hasUnsavedChanges() const;
    // Records with unsaved changes plus unsaved deletions.
    int unsavedChangeCount() const;
    // Since the last successful save: how many saves failed, why the last one
    // did, and whether that was for want of space on the disk.
    int failedSaves() const { return m_failedSaves; }
    QString saveError() const { return m_saveError; }
    bool diskFull() const { return m_diskFull; }
    void setRetryDelays(int firstMsecs, int longestMsecs);
    // Lets go of removed records (they are destroyed on the event loop).
    void processPendingChanges();

    // How long after a change the automatic save runs (default 400 ms).
    void setAutosaveDelay(int msecs);
    int autosaveDelay() const { return m_autosave.interval(); }

    // All live pages, ascending by position, equal positions oldest first.
    const QList<Page *> &pages() const;
    // All live tasks, in no particular order.
    const QList<TaskItem *> &tasks() const
    {
        finishLoading();
        return m_tasks;
    }
    // All live attachments, in no particular order.
    const QList<Attachment *> &attachments() const
    {
        finishLoading();
        return m_attachments;
    }

    // Live records by `id` (the first one when a damaged book holds several).
    Page *page(const QUuid &id) const;
    TaskItem *task(const QUuid &id) const;
    Attachment *attachment(const QUuid &id) const;

    // Reads an attachment's bytes from the file.
    std::optional<QByteArray> loadAttachmentData(const Attachment *attachment) const;

    // The underlying database, for the mirror's own bookkeeping tables.
    SQLite::Database &database() const { return *m_db; }

Q_SIGNALS:
    // A page was inserted or removed, or its position or creation time changed.
    void pagesChanged();
    // A task was inserted or removed (the number of tasks changed).
    void tasksChanged();
    void recordInserted(quillery::Record *record);
    // The record was marked deleted; it is still a valid object here.
    void recordRemoved(quillery::Record *record);
    // Before a field of a live record changes: its getter still gives the old
    // value.
    void recordAboutToChange(quillery::Record *record, quillery::Field field);
    void recordChanged(quillery::Record *record, quillery::Field field);
    void saved();
    void saveFailed(const QString &error);
    // The rest of a book opened page first has been read: every task and
    // attachment is there (tasksChanged follows).
    void loaded();
    // A book opened page first proved damaged: it is not written any more.
    void damaged(const quillery::StoreOpenError &error);

private:
    friend class Record;
    friend class Attachment;
    friend class StoreLoader;
    friend class MirrorAccess;
    friend class RecoveryJournal;
    friend class StoreRest;

    Store(const QString &path, const Clock &clock);

    static std::unique_ptr<Store> open(
        const QString &path, const QString *firstPage, StoreOpenError *error, const Clock &clock);
    // Reads the book through a read-only connection: whether it is one this
    // version can use and, when it is, every record (or, given `firstPage`,
    // the first page's). Fills `failure` and returns false when it is refused.
    static bool inspect(Store &store, StoreOpenError &failure, const QString *firstPage);

    // The time stamp of a change to `record`: now, but always later than the
    // record's previous stamp, so that an edit made after a version from
    // another device was seen orders after it even when this clock is behind.
    qint64 changeStamp(const Record *record) const;
    void recordWillChange(Record *record, Field field);
    void recordDidChange(Record *record, Field field);
    void markDirty(Record *record);
    void adopt(Record *record);
    void collectCascade(Record *record, QList<Record *> &out) const;
    void scheduleAutosave();
    void autosave();
    void schedulePendingChanges();
    // Room for `count` more records of `kind` (a loader about to read them).
    void reserve(Record::Kind kind, qsizetype count);
    // From the rest of a book opened page first.
    void restRead();
    void restChecked(const std::optional<StoreOpenError> &damage);

    QString m_path;
    const Clock *m_clock;
    std::unique_ptr<SQLite::Database> m_db;
    std::unique_ptr<StoreWriter> m_writer;
    std::unique_ptr<StoreRest> m_rest; // a book opened page first until it is read and checked
    std::optional<StoreOpenError> m_damage;
    bool m_saveWhenChecked = false;

    QList<Page *> m_pages;
    QList<TaskItem *> m_tasks;
    QList<Attachment *> m_attachments;
    QHash<QUuid, Record *> m_byId;
    mutable QList<Page *> m_sortedPages;
    mutable bool m_sortedPagesValid = false;

    QList<Record *> m_dirty; // live records with unsaved changes
    QList<Record *> m_removed; // deleted records not yet let go
    QList<StoreRemoval> m_unsavedRemovals;
    bool m_pendingChangesQueued = false;
    int m_housekeeping = 0;
    QTimer m_autosave;
    QTimer m_retry; // the next attempt after a failed save
    int m_firstRetryMsecs = 2000;
    int m_longestRetryMsecs = 60'000;
    int m_failedSaves = 0;
    QString m_saveError;
    bool m_diskFull = false;
};

} // namespace quillery
