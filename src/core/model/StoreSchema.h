#pragma once

#include <QString>

namespace SQLite {
class Database;
}

namespace quillery {

// The layout of a book file. One table per record type, with every column
// nullable so a half-written row (from an older writer or an interrupted
// mirror) still loads with the defaults. Each row also carries when it last
// changed and whether the mirror still has to send it; deletions leave a
// tombstone for the same purpose. Attachment bytes live in their own table,
// keyed by the attachment's row, and are read only when asked for.
namespace StoreSchema {

inline constexpr int Major = 1;
inline constexpr int Minor = 0;
inline constexpr int Patch = 0;
QString versionText(); // "1.0.0"

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

} // namespace StoreSchema
} // namespace quillery
