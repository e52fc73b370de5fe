#pragma once

#include <QString>

#include <set>
#include <string>
#include <vector>

namespace SQLite {
class Database;
}

namespace quillery {

struct StoredField;

// The layout of a book file. One table per record type, named after it, with
// the id, a column per field (fieldsOf) and every column nullable so a
// half-written row (from an older writer or an interrupted mirror) still
// loads with the defaults. Each row also carries when it last changed and
// whether the mirror still has to send it; deletions leave a tombstone for
// the same purpose. Attachment bytes live in their own table, keyed by the
// attachment's row, and are read only when asked for; the row keeps their
// size.
namespace StoreSchema {

inline constexpr int Major = 1;
inline constexpr int Minor = 1;
inline constexpr int Patch = 0;
QString versionText(); // "1.1.0"

enum class Check {
    Empty, // no tables at all: a new book
    Compatible, // a book this version can read and write
    Newer, // a book from an incompatible newer version
    Foreign, // some other database
};

// Reads the file's tables and recorded version. Only reads.
Check inspect(SQLite::Database &db, QString *foundVersion = nullptr);

// Creates every table of a new book and records the version.
void create(SQLite::Database &db);

// Adds the columns of fields that a book made by an earlier version lacks
// (they read as their defaults until written).
void addMissingColumns(SQLite::Database &db);
// The statements that add them, for a caller that runs its own transaction.
std::vector<std::string> missingColumns(SQLite::Database &db);

// The column that keeps `entry` in the book file.
std::string column(const StoredField &entry);
// The columns `table` has.
std::set<std::string> columnsOf(SQLite::Database &db, const char *table);

} // namespace StoreSchema
} // namespace quillery
