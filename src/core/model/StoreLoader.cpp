#include "StoreLoader.h"

#include "Store.h"
#include "StoreSchema.h"

#include <SQLiteCpp/Database.h>
#include <sqlite3.h>

namespace quillery {

namespace {

QLatin1StringView latin1At(sqlite3_stmt *rows, int index)
{
    const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(rows, index));
    return QLatin1StringView(text, sqlite3_column_bytes(rows, index));
}

} // namespace

QString StoreLoader::textAt(int index)
{
    const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(m_rows.get(), index));
    const QByteArrayView bytes(text, sqlite3_column_bytes(m_rows.get(), index));
    if (bytes.isEmpty())
        return QString::fromUtf8(bytes);
    // Equal texts (a note, a place or a repeat rule used on many tasks) share
    // one string: a few recent ones are remembered by their hash.
    Recent &recent = m_recent[qHash(bytes) % m_recent.size()];
    if (QByteArrayView(recent.bytes) != bytes) {
        recent.bytes = bytes.toByteArray();
        recent.text = QString::fromUtf8(bytes);
    }
    return recent.text;
}

QVariant StoreLoader::valueAt(int index, const StoredField &entry)
{
    sqlite3_stmt *rows = m_rows.get();
    if (sqlite3_column_type(rows, index) == SQLITE_NULL)
        return entry.defaultValue;
    switch (entry.type) {
    case FieldType::Text:
        return textAt(index);
    case FieldType::Flag:
        return sqlite3_column_int(rows, index) != 0;
    case FieldType::Number:
    case FieldType::Measure:
        return sqlite3_column_double(rows, index);
    case FieldType::Whole:
        return sqlite3_column_int(rows, index);
    case FieldType::Time:
    case FieldType::Bytes:
        return qint64(sqlite3_column_int64(rows, index));
    case FieldType::Link:
        return QVariant::fromValue(QUuid::fromString(latin1At(rows, index)));
    }
    return entry.defaultValue;
}

namespace {

Record *make(Record::Kind kind)
{
    switch (kind) {
    case Record::Kind::Page:
        return new Page(Record::LoadTag {});
    case Record::Kind::Task:
        return new TaskItem(Record::LoadTag {});
    case Record::Kind::Attachment:
        break;
    }
    return new Attachment(Record::LoadTag {});
}

} // namespace

void StoreLoader::load(Store &store, SQLite::Database &db)
{
    for (Record::Kind kind : { Record::Kind::Page, Record::Kind::Task, Record::Kind::Attachment }) {
        StoreLoader loader(store, db, kind);
        while (loader.read(4096)) { }
    }
}

StoreLoader::StoreLoader(Store &store, SQLite::Database &db, Record::Kind kind, const std::string &where,
    const std::vector<std::string> &values)
    : m_store(store)
    , m_kind(kind)
    , m_db(db)
    , m_rows(nullptr, &sqlite3_finalize)
    , m_now(store.clock().nowMSecs())
{
    const char *table = entityName(kind);
    const std::set<std::string> present = StoreSchema::columnsOf(db, table);
    std::string sql = "SELECT rowid, id, modified, pending";
    int next = 4;
    for (const StoredField &entry : fieldsOf(kind)) {
        const std::string name = StoreSchema::column(entry);
        m_columns.emplace_back(&entry, present.count(name) ? next++ : -1);
        if (m_columns.back().second >= 0)
            sql += ", " + name;
    }
    sql += std::string(" FROM ") + table;
    if (!where.empty())
        sql += " WHERE " + where;
    sqlite3_stmt *statement = nullptr;
    if (const int code = sqlite3_prepare_v2(db.getHandle(), sql.c_str(), -1, &statement, nullptr); code != SQLITE_OK)
        throw SQLite::Exception(db.getHandle(), code);
    m_rows.reset(statement);
    // Bound without a copy (a null destructor): the loader keeps the values.
    m_values = values;
    for (int i = 0; i < int(m_values.size()); ++i)
        sqlite3_bind_text(statement, i + 1, m_values[i].data(), int(m_values[i].size()), nullptr);
    m_reserve = where.empty();
}

StoreLoader::~StoreLoader() = default;

bool StoreLoader::read(qsizetype rows, QSet<qint64> *readIds)
{
    sqlite3_stmt *statement = m_rows.get();
    if (std::exchange(m_reserve, false)) {
        // Every row makes a record in the id index and the kind's list: room
        // for all of them at once (the largest row id is found at once, a
        // count reads the table).
        const std::string sql = std::string("SELECT max(rowid) FROM ") + entityName(m_kind);
        m_store.reserve(m_kind, qsizetype(m_db.execAndGet(sql).getInt64()));
    }
    for (qsizetype n = 0; n < rows && !m_done; ++n) {
        const int code = sqlite3_step(statement);
        if (code == SQLITE_DONE) {
            m_done = true;
            break;
        }
        if (code != SQLITE_ROW)
            throw SQLite::Exception(m_db.getHandle(), code);
        const qint64 rowId = sqlite3_column_int64(statement, 0);
        if (m_skip.contains(rowId))
            continue;
        if (readIds)
            readIds->insert(rowId);
        Record *record = make(m_kind);
        record->m_rowId = rowId;
        record->m_id
            = sqlite3_column_type(statement, 1) == SQLITE_NULL ? QUuid() : QUuid::fromString(latin1At(statement, 1));
        const bool rewrite = record->m_id.isNull();
        if (rewrite)
            record->m_id = QUuid::createUuid();
        record->m_modified = sqlite3_column_int64(statement, 2); // NULL reads as 0
        record->m_pending = sqlite3_column_type(statement, 3) == SQLITE_NULL || sqlite3_column_int(statement, 3) != 0;
        record->m_created = m_now;
        m_store.adopt(record);
        // Fields are filled directly: nobody observes a record yet, and a
        // book of 100,000 tasks has no time for a signal per field.
        for (const auto &[entry, index] : m_columns) {
            const QVariant value = index >= 0 ? valueAt(index, *entry) : entry->defaultValue;
            if (entry->type == FieldType::Bytes) {
                auto *attachment = static_cast<Attachment *>(record);
                attachment->m_dataSize = value.isNull() ? std::nullopt : std::optional(value.toLongLong());
                attachment->m_data.reset();
                attachment->m_dataLoaded = false;
                attachment->m_dataDirty = false;
            } else {
                entry->fill(*record, value);
            }
        }
        if (rewrite)
            m_store.markDirty(record);
    }
    return !m_done;
}

} // namespace quillery
