#pragma once

#include "MirrorRecord.h"

#include <QFutureWatcher>
#include <QObject>
#include <QSet>
#include <QTimer>

namespace quillery {

class Attachment;
class MirrorLedger;
class Page;
class Store;
class TaskItem;

// Merges versions that came from the server into the book, on the main
// thread, through the records' ordinary setters and Store::insert/remove so
// every view sees records appear, change and vanish.
//
// For each record the later version wins (MirrorStamp): a local change not yet
// sent is kept when it is later, and otherwise given up for the server's. A
// deletion is a version like any other. A record whose page or task was
// deleted follows the delete rules: it goes too, and that deletion is sent.
//
// The work is cut into slices that each end with a save, so the main thread
// is never held for long and what was merged is on disk. A slice takes as many
// records as fit its budget together with their share of the save. While a
// merge runs, the write-ahead log is copied into the book on a thread of its
// own (every few slices, with the main thread free meanwhile, and once at
// the end) instead of inside one of those saves.
class ImportMerger final : public QObject
{
    Q_OBJECT
public:
    ImportMerger(Store &store, MirrorLedger &ledger, QObject *parent = nullptr);
    ~ImportMerger() override;

    // Main-thread time a slice may take, its save included.
    void setSliceBudget(int msecs) { m_sliceBudgetMs = msecs; }

    // Starts merging the server's newest version of each of `records`;
    // finished() follows on a later pass of the event loop.
    void merge(QList<MirrorRecord> records);
    bool isBusy() const { return m_busy; }

    // How long the longest slice of the last merge held the main thread, in
    // nanoseconds (for the benchmarks).
    qint64 longestSliceNs() const { return m_longestSliceNs; }

Q_SIGNALS:
    void finished(bool ok, const QString &error);
    // After each slice: how long it took, and how much of that the main
    // thread spent working rather than waiting for the disk or the processor.
    void sliceDone(qint64 wallNs, qint64 cpuNs);

private:
    enum class Parent { None, Live, Gone, Unknown };

    void slice();
    void finish(bool ok, const QString &error);
    void holdCheckpoints(bool hold);
    void checkpointInBackground();
    void apply(const MirrorRecord &remote);
    void applyDeletion(Record *local, const MirrorRecord &remote);
    void applyLive(Record *local, const MirrorRecord &remote);
    Record *create(const MirrorRecord &remote);
    void assignFields(Record *record, const MirrorRecord &remote);
    Parent resolve(Record::Kind kind, const QUuid &id, Record **found) const;
    void deleteOrphan(Record *local, const MirrorRecord &remote);
    Record *live(Record::Kind kind, const QUuid &id) const;

    Store &m_store;
    MirrorLedger &m_ledger;
    QList<MirrorRecord> m_queue;
    qsizetype m_next = 0;
    QSet<QUuid> m_deletedInBatch;
    bool m_busy = false;
    int m_sliceBudgetMs = 8;
    qint64 m_longestSliceNs = 0;
    double m_saveNsPerRecord = 20'000; // learnt from each slice's save
    std::optional<int> m_autoCheckpoint; // the book's setting while a merge holds it
    int m_slicesSinceCheckpoint = 0;
    QFutureWatcher<void> m_checkpoint;
    QTimer m_tick;
};

} // namespace quillery
