#include "MirrorLedger.h"

#include "core/model/MirrorAccess.h"
#include "core/model/Store.h"
#include "core/util/Uuid.h"

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>
#include <SQLiteCpp/Transaction.h>

namespace quillery {

namespace {

std::string text(const QString &value)
{
    return value.toStdString();
}

void fail(QString *error, const QString &why)
{
    if (error)
        *error = why;
}

} // namespace

MirrorLedger::MirrorLedger(Store &store, QObject *parent)
    : QObject(parent)
    , m_store(store)
{ }

MirrorLedger::~MirrorLedger() = default;

bool MirrorLedger::open(QString *error)
{
    SQLite::Database &db = m_store.database();
    try {
        db.exec("CREATE TABLE IF NOT EXISTS mirror_state (key TEXT PRIMARY KEY, value TEXT)");
        // Merged records have random ids, so saving them touches index pages
        // all over the file: keep more of it in memory than the default 2 MB.
        db.exec("PRAGMA cache_size = -32768");
        // Finding the deletions still to send must not read every tombstone.
        db.exec("CREATE INDEX IF NOT EXISTS tombstone_pending ON tombstone(id) WHERE pending = 1");
        SQLite::Statement read(db, "SELECT key, value FROM mirror_state");
        while (read.executeStep()) {
            const std::string key = read.getColumn(0).getString();
            const QString value = QString::fromStdString(read.getColumn(1).getString());
            if (key == "device")
                m_device = uuidFromString(value);
            else if (key == "mirror")
                m_mirrorId = uuidFromString(value);
            else if (key == "cursor")
                m_cursor = value.toLongLong();
        }
        if (m_device.isNull()) {
            m_device = QUuid::createUuid();
            if (!writeState("device", uuidString(m_device), error))
                return false;
        }
        m_findTombstone
            = std::make_unique<SQLite::Statement>(db, "SELECT deleted, pending FROM tombstone WHERE id = ?1");
    } catch (const SQLite::Exception &e) {
        fail(error, QString::fromUtf8(e.what()));
        return false;
    }

    for (Page *page : m_store.pages())
        track(page);
    for (TaskItem *task : m_store.tasks())
        track(task);
    for (Attachment *attachment : m_store.attachments())
        track(attachment);
    connect(&m_store, &Store::recordInserted, this, &MirrorLedger::track);
    connect(&m_store, &Store::recordChanged, this, [this](Record *record, Field) { track(record); });
    connect(&m_store, &Store::recordRemoved, this, &MirrorLedger::untrack);
    return true;
}

QSet<Record *> &MirrorLedger::pendingSet(Record::Kind kind)
{
    switch (kind) {
    case Record::Kind::Page:
        return m_pendingPages;
    case Record::Kind::Task:
        return m_pendingTasks;
    case Record::Kind::Attachment:
        break;
    }
    return m_pendingAttachments;
}

void MirrorLedger::track(Record *record)
{
    if (MirrorAccess::isPending(record) && !record->isDeleted())
        pendingSet(record->kind()).insert(record);
}

void MirrorLedger::untrack(Record *record)
{
    pendingSet(record->kind()).remove(record);
}

bool MirrorLedger::writeState(const char *key, const QString &value, QString *error)
{
    try {
        SQLite::Statement write(m_store.database(), "INSERT OR REPLACE INTO mirror_state (key, value) VALUES (?1, ?2)");
        write.bind(1, key);
        write.bind(2, text(value));
        write.exec();
        return true;
    } catch (const SQLite::Exception &e) {
        fail(error, QString::fromUtf8(e.what()));
        return false;
    }
}

bool MirrorLedger::setCursor(qint64 cursor, QString *error)
{
    if (cursor == m_cursor)
        return true;
    if (!writeState("cursor", QString::number(cursor), error))
        return false;
    m_cursor = cursor;
    return true;
}

bool MirrorLedger::adoptMirror(const QUuid &mirrorId, QString *error)
{
    SQLite::Database &db = m_store.database();
    try {
        // One transaction: the records become pending before the new mirror is
        // remembered, so a crash in between can only mean sending again.
        SQLite::Transaction transaction(db, SQLite::TransactionBehavior::IMMEDIATE);
        db.exec("UPDATE page SET pending = 1; UPDATE task SET pending = 1; UPDATE attachment SET pending = 1;");
        SQLite::Statement write(db, "INSERT OR REPLACE INTO mirror_state (key, value) VALUES (?1, ?2)");
        write.bind(1, "mirror");
        write.bind(2, text(uuidString(mirrorId)));
        write.exec();
        write.reset();
        write.bind(1, "cursor");
        write.bind(2, "0");
        write.exec();
        transaction.commit();
    } catch (const SQLite::Exception &e) {
        fail(error, QString::fromUtf8(e.what()));
        return false;
    }
    m_mirrorId = mirrorId;
    m_cursor = 0;
    const auto markAll = [this](const auto &records) {
        for (Record *record : records) {
            MirrorAccess::setPending(record, true);
            track(record);
        }
    };
    markAll(m_store.pages());
    markAll(m_store.tasks());
    markAll(m_store.attachments());
    return true;
}

bool MirrorLedger::hasPending()
{
    for (QSet<Record *> *set : { &m_pendingPages, &m_pendingTasks, &m_pendingAttachments }) {
        for (auto it = set->begin(); it != set->end();) {
            if (MirrorAccess::isPending(*it))
                return true;
            it = set->erase(it);
        }
    }
    if (m_store.hasUnsavedChanges())
        return true;
    try {
        SQLite::Statement any(m_store.database(), "SELECT 1 FROM tombstone WHERE pending = 1 LIMIT 1");
        return any.executeStep();
    } catch (const SQLite::Exception &) {
        return true; // let the export find out and report it
    }
}

void MirrorLedger::resend(Record *record)
{
    MirrorAccess::markUnsent(record);
    track(record);
}

MirrorRecord MirrorLedger::snapshot(const Record *record) const
{
    MirrorRecord r;
    r.kind = record->kind();
    r.id = record->id();
    r.modified = MirrorAccess::modified(record);
    r.device = m_device;
    for (const StoredField &entry : fieldsOf(record->kind()))
        r.values.append(entry.get(*record));
    return r;
}

QList<MirrorRecord> MirrorLedger::collect(int maxRecords, qint64 maxBytes, QString *error)
{
    QList<MirrorRecord> out;
    // What is sent must be in the file first: a crash after the server took it
    // must not leave the book without it.
    if (m_store.hasUnsavedChanges() && !m_store.save(error))
        return out;
    qint64 bytes = 0;
    const auto full = [&] { return out.size() >= maxRecords || (!out.isEmpty() && bytes >= maxBytes); };
    for (QSet<Record *> *set : { &m_pendingPages, &m_pendingTasks, &m_pendingAttachments }) {
        for (auto it = set->begin(); it != set->end() && !full();) {
            Record *record = *it;
            if (!MirrorAccess::isPending(record) || record->isDeleted()) {
                it = set->erase(it);
                continue;
            }
            out.append(snapshot(record));
            bytes += out.last().contentSize();
            ++it;
        }
    }
    if (full())
        return out;
    try {
        SQLite::Statement tombstones(
            m_store.database(), "SELECT id, entity, deleted FROM tombstone WHERE pending = 1 LIMIT ?1");
        tombstones.bind(1, maxRecords - int(out.size()));
        while (tombstones.executeStep()) {
            const auto kind = mirrorKind(QString::fromStdString(tombstones.getColumn(1).getString()));
            const QUuid id = uuidFromString(QString::fromStdString(tombstones.getColumn(0).getString()));
            if (!kind || id.isNull())
                continue;
            MirrorRecord r;
            r.kind = *kind;
            r.id = id;
            r.deleted = true;
            r.modified = tombstones.getColumn(2).getInt64();
            r.device = m_device;
            out.append(r);
        }
    } catch (const SQLite::Exception &e) {
        fail(error, QString::fromUtf8(e.what()));
        out.clear();
    }
    return out;
}

bool MirrorLedger::acknowledge(const QList<MirrorKey> &held, QString *error)
{
    if (held.isEmpty())
        return true;
    SQLite::Database &db = m_store.database();
    QList<Record *> cleared;
    try {
        SQLite::Transaction transaction(db, SQLite::TransactionBehavior::IMMEDIATE);
        SQLite::Statement tombstone(db, "UPDATE tombstone SET pending = 0 WHERE id = ?1 AND deleted = ?2");
        SQLite::Statement page(db, "UPDATE page SET pending = 0 WHERE id = ?1 AND modified = ?2");
        SQLite::Statement task(db, "UPDATE task SET pending = 0 WHERE id = ?1 AND modified = ?2");
        SQLite::Statement attachment(db, "UPDATE attachment SET pending = 0 WHERE id = ?1 AND modified = ?2");
        for (const MirrorKey &key : held) {
            SQLite::Statement *statement = &tombstone;
            if (!key.deleted) {
                Record *record = nullptr;
                switch (key.kind) {
                case Record::Kind::Page:
                    record = m_store.page(key.id);
                    statement = &page;
                    break;
                case Record::Kind::Task:
                    record = m_store.task(key.id);
                    statement = &task;
                    break;
                case Record::Kind::Attachment:
                    record = m_store.attachment(key.id);
                    statement = &attachment;
                    break;
                }
                // Changed again since it was collected: the newer version is
                // still to be sent.
                if (!record || MirrorAccess::modified(record) != key.modified)
                    continue;
                cleared.append(record);
            }
            statement->reset();
            statement->bind(1, text(uuidString(key.id)));
            statement->bind(2, static_cast<int64_t>(key.modified));
            statement->exec();
        }
        transaction.commit();
    } catch (const SQLite::Exception &e) {
        fail(error, QString::fromUtf8(e.what()));
        return false;
    }
    for (Record *record : std::as_const(cleared)) {
        MirrorAccess::setPending(record, false);
        untrack(record);
    }
    return true;
}

std::optional<MirrorLedger::Tombstone> MirrorLedger::tombstone(const QUuid &id) const
{
    if (const StoreRemoval *removal = MirrorAccess::unsavedRemoval(m_store, id))
        return Tombstone { removal->when, removal->pending };
    try {
        m_findTombstone->reset();
        m_findTombstone->bind(1, text(uuidString(id)));
        if (m_findTombstone->executeStep()) {
            const Tombstone found { m_findTombstone->getColumn(0).getInt64(),
                m_findTombstone->getColumn(1).getInt() != 0 };
            // Not left open: a statement under way keeps a read transaction,
            // and with it the write-ahead log from being started afresh.
            m_findTombstone->reset();
            return found;
        }
    } catch (const SQLite::Exception &) { }
    return std::nullopt;
}

bool MirrorLedger::settleTombstone(const QUuid &id, qint64 deleted)
{
    if (MirrorAccess::unsavedRemoval(m_store, id)) {
        MirrorAccess::markRemovalSynced(m_store, id, deleted);
        return true;
    }
    try {
        SQLite::Statement settle(m_store.database(), "UPDATE tombstone SET pending = 0, deleted = ?2 WHERE id = ?1");
        settle.bind(1, text(uuidString(id)));
        settle.bind(2, static_cast<int64_t>(deleted));
        settle.exec();
        return true;
    } catch (const SQLite::Exception &) {
        return false;
    }
}

bool MirrorLedger::forgetTombstone(const QUuid &id)
{
    if (MirrorAccess::unsavedRemoval(m_store, id))
        MirrorAccess::markRemovalSynced(m_store, id, MirrorAccess::unsavedRemoval(m_store, id)->when);
    try {
        SQLite::Statement forget(m_store.database(), "DELETE FROM tombstone WHERE id = ?1");
        forget.bind(1, text(uuidString(id)));
        forget.exec();
        return true;
    } catch (const SQLite::Exception &) {
        return false;
    }
}

} // namespace quillery
