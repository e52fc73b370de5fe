#include "StoreWriter.h"

#include "Attachment.h"
#include "Page.h"
#include "Store.h"
#include "StoreSchema.h"
#include "TaskItem.h"
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

void bind(SQLite::Statement &statement, int index, const StoredField &entry, const QVariant &value)
{
    if (value.isNull()) {
        statement.bind(index);
        return;
    }
    switch (entry.type) {
    case FieldType::Text:
        statement.bind(index, text(value.toString()));
        return;
    case FieldType::Flag:
        statement.bind(index, value.toBool() ? 1 : 0);
        return;
    case FieldType::Number:
    case FieldType::Measure:
        statement.bind(index, value.toDouble());
        return;
    case FieldType::Whole:
        statement.bind(index, value.toInt());
        return;
    case FieldType::Time:
    case FieldType::Bytes:
        statement.bind(index, static_cast<int64_t>(value.toLongLong()));
        return;
    case FieldType::Link:
        if (const QUuid id = value.toUuid(); !id.isNull())
            statement.bind(index, text(uuidString(id)));
        else
            statement.bind(index);
        return;
    }
}

std::unique_ptr<SQLite::Statement> prepare(SQLite::Database &db, const char *sql)
{
    return std::make_unique<SQLite::Statement>(db, sql);
}

} // namespace

StoreWriter::StoreWriter(SQLite::Database &db)
    : m_db(db)
{
    for (Record::Kind kind : { Record::Kind::Page, Record::Kind::Task, Record::Kind::Attachment }) {
        // ?1 is the id, the fields follow in order, then the stamp, the
        // pending flag and (for an update) the row.
        std::string names = "id", values = "?1", assignments = "id = ?1";
        int n = 1;
        const auto add = [&](const std::string &name) {
            const std::string parameter = '?' + std::to_string(++n);
            names += ", " + name;
            values += ", " + parameter;
            assignments += ", " + name + " = " + parameter;
        };
        for (const StoredField &entry : fieldsOf(kind))
            add(StoreSchema::column(entry));
        add("modified");
        add("pending");
        const std::string table = entityName(kind);
        m_insert[int(kind)]
            = prepare(db, ("INSERT INTO " + table + " (" + names + ") VALUES (" + values + ")").c_str());
        m_update[int(kind)] = prepare(
            db, ("UPDATE " + table + " SET " + assignments + " WHERE rowid = ?" + std::to_string(n + 1)).c_str());
    }
    m_putData = prepare(db, "INSERT OR REPLACE INTO attachment_data (attachment, bytes) VALUES (?1, ?2)");
    m_dropData = prepare(db, "DELETE FROM attachment_data WHERE attachment = ?1");
    m_tombstone
        = prepare(db, "INSERT OR REPLACE INTO tombstone (id, entity, deleted, pending) VALUES (?1, ?2, ?3, ?4)");
    m_forgetTombstone = prepare(db, "DELETE FROM tombstone WHERE id = ?1");
}

StoreWriter::~StoreWriter() = default;

void StoreWriter::write(const QList<Record *> &dirty, const QList<StoreRemoval> &removals)
{
    m_newRows.clear();
    try {
        SQLite::Transaction transaction(m_db, SQLite::TransactionBehavior::IMMEDIATE);
        for (const StoreRemoval &removal : removals)
            remove(removal);
        for (Record *record : dirty)
            writeRecord(record);
        transaction.commit();
    } catch (...) {
        for (Record *record : std::as_const(m_newRows))
            record->m_rowId = 0;
        m_newRows.clear();
        throw;
    }
    for (Record *record : dirty) {
        record->m_dirty = false;
        if (record->kind() == Record::Kind::Attachment)
            static_cast<Attachment *>(record)->m_dataDirty = false;
    }
    m_newRows.clear();
}

void StoreWriter::writeRecord(Record *record)
{
    const bool fresh = !record->m_rowId;
    SQLite::Statement &s = fresh ? *m_insert[int(record->kind())] : *m_update[int(record->kind())];
    s.reset();
    s.clearBindings();
    s.bind(1, text(uuidString(record->id())));
    int n = 1;
    for (const StoredField &entry : fieldsOf(record->kind())) {
        if (entry.type == FieldType::Bytes) {
            const std::optional<qint64> size = static_cast<Attachment *>(record)->m_dataSize;
            bind(s, ++n, entry, size ? QVariant(*size) : QVariant());
        } else {
            bind(s, ++n, entry, entry.get(*record));
        }
    }
    s.bind(++n, static_cast<int64_t>(record->m_modified));
    s.bind(++n, record->m_pending ? 1 : 0);
    if (!fresh)
        s.bind(++n, static_cast<int64_t>(record->m_rowId));
    s.exec();
    if (fresh)
        inserted(record);
    if (record->kind() == Record::Kind::Attachment)
        writeData(static_cast<Attachment *>(record), fresh);
}

void StoreWriter::writeData(Attachment *attachment, bool fresh)
{
    if (attachment->m_dataDirty || fresh) {
        if (attachment->m_data) {
            m_putData->reset();
            m_putData->bind(1, static_cast<int64_t>(attachment->m_rowId));
            m_putData->bind(2, attachment->m_data->constData(), static_cast<int>(attachment->m_data->size()));
            m_putData->exec();
        } else if (!attachment->m_dataSize) {
            m_dropData->reset();
            m_dropData->bind(1, static_cast<int64_t>(attachment->m_rowId));
            m_dropData->exec();
        }
    }
}

void StoreWriter::inserted(Record *record)
{
    record->m_rowId = m_db.getLastInsertRowid();
    m_newRows.append(record);
    // A record that lives again under the id of a deleted one (an undone
    // deletion, a version from another computer) is no longer deleted: its
    // tombstone must not reach the mirror after it.
    m_forgetTombstone->reset();
    m_forgetTombstone->bind(1, text(uuidString(record->id())));
    m_forgetTombstone->exec();
}

void StoreWriter::remove(const StoreRemoval &removal)
{
    if (removal.rowId) {
        const char *table = entityName(removal.kind);
        SQLite::Statement drop(m_db, std::string("DELETE FROM ") + table + " WHERE rowid = ?1");
        drop.bind(1, static_cast<int64_t>(removal.rowId));
        drop.exec();
        if (removal.kind == Record::Kind::Attachment) {
            m_dropData->reset();
            m_dropData->bind(1, static_cast<int64_t>(removal.rowId));
            m_dropData->exec();
        }
    }
    if (!removal.id.isNull()) {
        m_tombstone->reset();
        m_tombstone->bind(1, text(uuidString(removal.id)));
        m_tombstone->bind(2, entityName(removal.kind));
        m_tombstone->bind(3, static_cast<int64_t>(removal.when));
        m_tombstone->bind(4, removal.pending ? 1 : 0);
        m_tombstone->exec();
    }
}

} // namespace quillery
