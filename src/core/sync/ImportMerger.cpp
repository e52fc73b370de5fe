#include "ImportMerger.h"

#include "MirrorLedger.h"
#include "core/model/MirrorAccess.h"
#include "core/model/Store.h"
#include "core/util/Uuid.h"

#include <SQLiteCpp/Database.h>

#include <QElapsedTimer>
#include <QLoggingCategory>
#include <QtConcurrent>

#include <algorithm>
#include <ctime>

namespace quillery {

Q_LOGGING_CATEGORY(lcMerge, "quillery.sync.merge")

namespace {

// Versions that make records live come first, parents before children, so a
// task moved off a page before the page was deleted elsewhere is on its new
// page when the deletion takes the page's remaining tasks with it. Deletions
// follow, children before parents, so each keeps its own time stamp.
int rank(const MirrorRecord &r)
{
    const int kind = r.kind == Record::Kind::Page ? 0 : r.kind == Record::Kind::Task ? 1 : 2;
    return r.deleted ? 5 - kind : kind;
}

qint64 threadCpuNs()
{
    timespec now {};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return qint64(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

} // namespace

ImportMerger::ImportMerger(Store &store, MirrorLedger &ledger, QObject *parent)
    : QObject(parent)
    , m_store(store)
    , m_ledger(ledger)
{
    m_tick.setSingleShot(true);
    m_tick.setInterval(0);
    connect(&m_tick, &QTimer::timeout, this, &ImportMerger::slice);
    connect(&m_checkpoint, &QFutureWatcher<void>::finished, this, [this] {
        if (m_busy && !m_tick.isActive())
            m_tick.start();
    });
}

ImportMerger::~ImportMerger()
{
    holdCheckpoints(false);
    m_checkpoint.waitForFinished();
}

void ImportMerger::holdCheckpoints(bool hold)
{
    // Copying the log into the book (with its sync to disk) would otherwise
    // fall into one slice's save every few slices.
    try {
        SQLite::Database &db = m_store.database();
        if (hold && !m_autoCheckpoint) {
            m_autoCheckpoint = db.execAndGet("PRAGMA wal_autocheckpoint").getInt();
            db.exec("PRAGMA wal_autocheckpoint = 0");
        } else if (!hold && m_autoCheckpoint) {
            db.exec("PRAGMA wal_autocheckpoint = " + std::to_string(*m_autoCheckpoint));
            m_autoCheckpoint.reset();
        }
    } catch (const SQLite::Exception &e) {
        qCWarning(lcMerge) << "cannot change checkpointing:" << e.what();
    }
}

void ImportMerger::checkpointInBackground()
{
    m_slicesSinceCheckpoint = 0;
    if (m_checkpoint.isRunning())
        return;
    // A connection of its own: the store's is for the main thread only. The
    // merge waits for it, so the whole log is copied and the next save starts
    // the log afresh instead of letting it grow.
    m_checkpoint.setFuture(QtConcurrent::run([path = m_store.path()] {
        try {
            SQLite::Database db(QFile::encodeName(path).toStdString(), SQLite::OPEN_READWRITE);
            db.setBusyTimeout(1000);
            db.exec("PRAGMA wal_checkpoint(PASSIVE)");
        } catch (const SQLite::Exception &) {
            // The store's own checkpoints catch up later.
        }
    }));
}

void ImportMerger::merge(QList<MirrorRecord> records)
{
    std::stable_sort(
        records.begin(), records.end(), [](const MirrorRecord &a, const MirrorRecord &b) { return rank(a) < rank(b); });
    m_deletedInBatch.clear();
    for (const MirrorRecord &r : std::as_const(records)) {
        if (r.deleted)
            m_deletedInBatch.insert(r.id);
    }
    m_queue = std::move(records);
    m_next = 0;
    m_busy = true;
    m_longestSliceNs = 0;
    if (!m_queue.isEmpty())
        holdCheckpoints(true);
    m_tick.start();
}

void ImportMerger::finish(bool ok, const QString &error)
{
    if (m_autoCheckpoint) {
        holdCheckpoints(false);
        checkpointInBackground();
    }
    m_busy = false;
    m_queue.clear();
    m_deletedInBatch.clear();
    Q_EMIT finished(ok, error);
}

void ImportMerger::slice()
{
    QElapsedTimer timer;
    timer.start();
    const qint64 cpuStart = threadCpuNs();
    QString why;
    // Start from a saved book, so the tombstones looked up below are all in
    // the file and nothing of the user's is mixed into this slice's save.
    if (m_store.hasUnsavedChanges() && !m_store.save(&why)) {
        finish(false, why);
        return;
    }
    const qint64 budget = qint64(m_sliceBudgetMs) * 1'000'000;
    const qsizetype first = m_next;
    {
        const Store::Housekeeping merging(m_store);
        while (m_next < m_queue.size()) {
            apply(m_queue.at(m_next++));
            // Leave room for saving what this slice merged.
            if (timer.nsecsElapsed() + qint64(double(m_next - first) * m_saveNsPerRecord) >= budget)
                break;
        }
    }
    const qint64 applied = timer.nsecsElapsed();
    const bool saved = m_store.save(&why);
    const qint64 spent = timer.nsecsElapsed();
    m_longestSliceNs = std::max(m_longestSliceNs, spent);
    Q_EMIT sliceDone(spent, threadCpuNs() - cpuStart);
    if (m_next > first)
        m_saveNsPerRecord = 0.7 * m_saveNsPerRecord + 0.3 * double(spent - applied) / double(m_next - first);
    if (!saved) {
        finish(false, why);
        return;
    }
    if (m_next >= m_queue.size()) {
        finish(true, QString());
    } else if (m_autoCheckpoint && ++m_slicesSinceCheckpoint >= 16) {
        checkpointInBackground(); // the next slice follows when it is done
    } else {
        m_tick.start();
    }
}

Record *ImportMerger::live(Record::Kind kind, const QUuid &id) const
{
    switch (kind) {
    case Record::Kind::Page:
        return m_store.page(id);
    case Record::Kind::Task:
        return m_store.task(id);
    case Record::Kind::Attachment:
        return m_store.attachment(id);
    }
    return nullptr;
}

void ImportMerger::apply(const MirrorRecord &remote)
{
    const MirrorStamp theirs = remote.stamp();
    if (Record *local = live(remote.kind, remote.id)) {
        // A local change not yet sent that is later than this version wins;
        // it goes to the server with the next export.
        const qint64 ours = MirrorAccess::modified(local);
        if (MirrorAccess::isPending(local) && isLater({ ours, m_ledger.device() }, theirs))
            return;
        // The server once held a later version than this one (it was put back
        // from a backup, say): that version goes to it again.
        if (!MirrorAccess::isPending(local) && ours > remote.modified) {
            m_ledger.resend(local);
            return;
        }
        if (remote.deleted)
            applyDeletion(local, remote);
        else
            applyLive(local, remote);
        return;
    }

    const auto tombstone = m_ledger.tombstone(remote.id);
    const bool ourDeletionWins
        = tombstone && tombstone->pending && isLater({ tombstone->deleted, m_ledger.device() }, theirs);
    if (remote.deleted) {
        if (tombstone && tombstone->pending && !ourDeletionWins)
            m_ledger.settleTombstone(remote.id, remote.modified);
        return;
    }
    if (ourDeletionWins)
        return;
    applyLive(nullptr, remote);
}

void ImportMerger::applyDeletion(Record *local, const MirrorRecord &remote)
{
    // What the deletion takes with it on this device (tasks added here that
    // the other device never saw) is deleted with stamps of its own and sent.
    m_store.remove(local);
    MirrorAccess::markRemovalSynced(m_store, remote.id, remote.modified);
}

ImportMerger::Parent ImportMerger::resolve(Record::Kind kind, const QUuid &id, Record **found) const
{
    *found = nullptr;
    if (id.isNull())
        return Parent::None;
    if ((*found = live(kind, id)))
        return Parent::Live;
    if (m_deletedInBatch.contains(id) || m_ledger.tombstone(id))
        return Parent::Gone;
    return Parent::Unknown;
}

void ImportMerger::deleteOrphan(Record *local, const MirrorRecord &remote)
{
    // The deletion answers this version, so it must be stamped later than it
    // even when this clock is behind; otherwise the server would keep the
    // orphan and every device would delete it again and again.
    if (local) {
        MirrorAccess::raiseStamp(local, remote.modified);
        m_store.remove(local);
    } else {
        const qint64 now = m_store.clock().nowMSecs();
        MirrorAccess::addTombstone(m_store, remote.kind, remote.id, std::max(now, remote.modified + 1));
    }
}

void ImportMerger::applyLive(Record *local, const MirrorRecord &remote)
{
    Record *parent = nullptr;
    const StoredField *linkSpec = linkOf(remote.kind);
    const Parent link = linkSpec ? resolve(linkSpec->target, remote.parentId(), &parent) : Parent::None;
    if (link == Parent::Gone) {
        deleteOrphan(local, remote);
        return;
    }
    if (link == Parent::Unknown) {
        qCWarning(lcMerge) << entityName(remote.kind) << uuidString(remote.id)
                           << "belongs to a record the server does not have; kept where it was";
    }

    if (!local) {
        local = create(remote);
        if (!local)
            return;
    } else {
        assignFields(local, remote);
    }
    if (linkSpec && link != Parent::Unknown)
        linkSpec->set(*local, QVariant::fromValue(parent ? parent->id() : QUuid()));
    MirrorAccess::markSynced(local, remote.modified);
}

Record *ImportMerger::create(const MirrorRecord &remote)
{
    for (Record::Kind kind : { Record::Kind::Page, Record::Kind::Task, Record::Kind::Attachment }) {
        if (live(kind, remote.id)) {
            qCWarning(lcMerge) << "a record of another kind already has the id" << uuidString(remote.id);
            return nullptr;
        }
    }
    Record *record = nullptr;
    switch (remote.kind) {
    case Record::Kind::Page:
        record = new Page();
        break;
    case Record::Kind::Task:
        record = new TaskItem();
        break;
    case Record::Kind::Attachment:
        record = new Attachment();
        break;
    }
    record->setId(remote.id);
    assignFields(record, remote);
    m_store.insert(record);
    if (m_ledger.tombstone(remote.id))
        m_ledger.forgetTombstone(remote.id);
    return record;
}

void ImportMerger::assignFields(Record *record, const MirrorRecord &remote)
{
    // The link is set by applyLive, once the record is in the store.
    const auto entries = fieldsOf(remote.kind);
    for (size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].type != FieldType::Link)
            entries[i].set(
                *record, i < size_t(remote.values.size()) ? remote.values.at(qsizetype(i)) : entries[i].defaultValue);
    }
}

} // namespace quillery
