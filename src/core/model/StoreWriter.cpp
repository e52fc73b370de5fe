#include "StoreWriter.h"

#include "Attachment.h"
#include "Page.h"
#include "Store.h"
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

void bindOptional(SQLite::Statement &statement, int index, const std::optional<qint64> &value)
{
    if (value)
        statement.bind(index, static_cast<int64_t>(*value));
    else
        statement.bind(index);
}

void bindOptional(SQLite::Statement &statement, int index, const std::optional<double> &value)
{
    if (value)
        statement.bind(index, *value);
    else
        statement.bind(index);
}

void bindLink(SQLite::Statement &statement, int index, const Record *target)
{
    if (target)
        statement.bind(index, text(uuidString(target->id())));
    else
        statement.bind(index);
}

std::unique_ptr<SQLite::Statement> prepare(SQLite::Database &db, const char *sql)
{
    return std::make_unique<SQLite::Statement>(db, sql);
}

} // namespace

StoreWriter::StoreWriter(SQLite::Database &db)
    : m_db(db)
{
    m_insertPage = prepare(db,
        "INSERT INTO page (id, position, title, color_index, created, modified, pending) "
        "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7)");
    m_updatePage = prepare(db,
        "UPDATE page SET id = ?1, position = ?2, title = ?3, color_index = ?4, created = ?5, "
        "modified = ?6, pending = ?7 WHERE rowid = ?8");
    m_insertTask = prepare(db,
        "INSERT INTO task (id, text, done, sort_order, created, due, alarm, notes, place_name, "
        "place_address, latitude, longitude, indent, page_id, modified, pending) "
        "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14, ?15, ?16)");
    m_updateTask = prepare(db,
        "UPDATE task SET id = ?1, text = ?2, done = ?3, sort_order = ?4, created = ?5, due = ?6, "
        "alarm = ?7, notes = ?8, place_name = ?9, place_address = ?10, latitude = ?11, "
        "longitude = ?12, indent = ?13, page_id = ?14, modified = ?15, pending = ?16 "
        "WHERE rowid = ?17");
    m_insertAttachment = prepare(db,
        "INSERT INTO attachment (id, name, type_identifier, created, data_size, task_id, "
        "modified, pending) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8)");
    m_updateAttachment = prepare(db,
        "UPDATE attachment SET id = ?1, name = ?2, type_identifier = ?3, created = ?4, "
        "data_size = ?5, task_id = ?6, modified = ?7, pending = ?8 WHERE rowid = ?9");
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
        for (Record *record : dirty) {
            switch (record->kind()) {
            case Record::Kind::Page:
                writePage(static_cast<Page *>(record));
                break;
            case Record::Kind::Task:
                writeTask(static_cast<TaskItem *>(record));
                break;
            case Record::Kind::Attachment:
                writeAttachment(static_cast<Attachment *>(record));
                break;
            }
        }
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

void StoreWriter::writePage(Page *page)
{
    SQLite::Statement &s = page->m_rowId ? *m_updatePage : *m_insertPage;
    s.reset();
    s.clearBindings();
    s.bind(1, text(uuidString(page->id())));
    s.bind(2, page->position());
    s.bind(3, text(page->title()));
    s.bind(4, page->colorIndex());
    s.bind(5, static_cast<int64_t>(page->createdMSecs()));
    s.bind(6, static_cast<int64_t>(page->m_modified));
    s.bind(7, page->m_pending ? 1 : 0);
    if (page->m_rowId)
        s.bind(8, static_cast<int64_t>(page->m_rowId));
    s.exec();
    if (!page->m_rowId)
        inserted(page);
}

void StoreWriter::writeTask(TaskItem *task)
{
    SQLite::Statement &s = task->m_rowId ? *m_updateTask : *m_insertTask;
    s.reset();
    s.clearBindings();
    s.bind(1, text(uuidString(task->id())));
    s.bind(2, text(task->text()));
    s.bind(3, task->done() ? 1 : 0);
    s.bind(4, task->order());
    s.bind(5, static_cast<int64_t>(task->createdMSecs()));
    bindOptional(s, 6, toMSecs(task->due()));
    bindOptional(s, 7, toMSecs(task->alarm()));
    s.bind(8, text(task->notes()));
    s.bind(9, text(task->placeName()));
    s.bind(10, text(task->placeAddress()));
    bindOptional(s, 11, task->latitude());
    bindOptional(s, 12, task->longitude());
    s.bind(13, task->indent());
    bindLink(s, 14, task->page());
    s.bind(15, static_cast<int64_t>(task->m_modified));
    s.bind(16, task->m_pending ? 1 : 0);
    if (task->m_rowId)
        s.bind(17, static_cast<int64_t>(task->m_rowId));
    s.exec();
    if (!task->m_rowId)
        inserted(task);
}

void StoreWriter::writeAttachment(Attachment *attachment)
{
    SQLite::Statement &s = attachment->m_rowId ? *m_updateAttachment : *m_insertAttachment;
    s.reset();
    s.clearBindings();
    s.bind(1, text(uuidString(attachment->id())));
    s.bind(2, text(attachment->name()));
    s.bind(3, text(attachment->typeIdentifier()));
    s.bind(4, static_cast<int64_t>(attachment->createdMSecs()));
    bindOptional(s, 5, attachment->m_dataSize);
    bindLink(s, 6, attachment->task());
    s.bind(7, static_cast<int64_t>(attachment->m_modified));
    s.bind(8, attachment->m_pending ? 1 : 0);
    if (attachment->m_rowId)
        s.bind(9, static_cast<int64_t>(attachment->m_rowId));
    s.exec();
    const bool fresh = !attachment->m_rowId;
    if (fresh)
        inserted(attachment);
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
