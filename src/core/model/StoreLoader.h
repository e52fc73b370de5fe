#pragma once

namespace SQLite {
class Database;
} // namespace SQLite

namespace quillery {

class Store;

// Reads every record of a book file into a store, field by field as each
// kind lists them. A missing or NULL value (or a column the book does not
// have yet) takes the field's default; a row without a usable id gets a fresh
// one (written back on the next save); links to records that do not exist
// are left empty. Attachment bytes are not read here.
class StoreLoader final
{
public:
    // Reads through `db` (which may be a read-only connection to the same
    // file). Throws SQLite::Exception when the file cannot be read.
    static void load(Store &store, SQLite::Database &db);
};

} // namespace quillery
