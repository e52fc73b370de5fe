#pragma once

namespace SQLite {
class Database;
class Statement;
} // namespace SQLite

namespace quillery {

class Store;

// Reads every record of a book file into a store. A missing or NULL value
// takes the field's default; a row without a usable id gets a fresh one
// (written back on the next save); links to records that do not exist are
// left empty. Attachment bytes are not read here.
class StoreLoader final
{
public:
    // Reads through `db` (which may be a read-only connection to the same
    // file). Throws SQLite::Exception when the file cannot be read.
    static void load(Store &store, SQLite::Database &db);

private:
    static bool loadCommon(class Record &record, SQLite::Statement &row, int rowIdColumn, int idColumn,
        int createdColumn, int modifiedColumn, int pendingColumn, qint64 now, qint64 &rowId, qint64 &modified,
        bool &pending);
};

} // namespace quillery
