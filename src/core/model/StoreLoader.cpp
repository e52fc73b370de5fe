#include "StoreLoader.h"

#include "Store.h"
#include "StoreSchema.h"

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>

namespace quillery {

namespace {

QVariant valueOf(const SQLite::Column &column, const StoredField &entry)
{
    if (column.isNull())
        return entry.defaultValue;
    switch (entry.type) {
    case FieldType::Text:
        return QString::fromUtf8(column.getText(), column.getBytes());
    case FieldType::Flag:
        return column.getInt() != 0;
    case FieldType::Number:
    case FieldType::Measure:
        return column.getDouble();
    case FieldType::Whole:
        return column.getInt();
    case FieldType::Time:
    case FieldType::Bytes:
        return qint64(column.getInt64());
    case FieldType::Link:
        return QVariant::fromValue(QUuid::fromString(QLatin1StringView(column.getText(), column.getBytes())));
    }
    return entry.defaultValue;
}

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
    const qint64 now = store.clock().nowMSecs();
    // Parents first, so that links find what they point at.
    for (Record::Kind kind : { Record::Kind::Page, Record::Kind::Task, Record::Kind::Attachment }) {
        const char *table = entityName(kind);
        const std::set<std::string> present = StoreSchema::columnsOf(db, table);
        std::string sql = "SELECT rowid, id, modified, pending";
        std::vector<std::pair<const StoredField *, int>> columns; // -1: not in this book
        int next = 4;
        for (const StoredField &entry : fieldsOf(kind)) {
            const std::string name = StoreSchema::column(entry);
            columns.emplace_back(&entry, present.count(name) ? next++ : -1);
            if (columns.back().second >= 0)
                sql += ", " + name;
        }
        SQLite::Statement rows(db, sql + " FROM " + table);
        while (rows.executeStep()) {
            Record *record = make(kind);
            record->m_rowId = rows.getColumn(0).getInt64();
            const SQLite::Column id = rows.getColumn(1);
            record->m_id = id.isNull() ? QUuid() : QUuid::fromString(QLatin1StringView(id.getText(), id.getBytes()));
            const bool rewrite = record->m_id.isNull();
            if (rewrite)
                record->m_id = QUuid::createUuid();
            const SQLite::Column modified = rows.getColumn(2);
            record->m_modified = modified.isNull() ? 0 : modified.getInt64();
            const SQLite::Column pending = rows.getColumn(3);
            record->m_pending = pending.isNull() || pending.getInt() != 0;
            record->m_created = now;
            store.adopt(record);
            // Fields are filled directly: nobody observes a record yet, and a
            // book of 100,000 tasks has no time for a signal per field.
            for (const auto &[entry, index] : columns) {
                const QVariant value = index >= 0 ? valueOf(rows.getColumn(index), *entry) : entry->defaultValue;
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
                store.markDirty(record);
        }
    }
}

} // namespace quillery
