#pragma once

#include <QString>

namespace SQLite {
class Database;
}

namespace quillery {

// Brings a book written by an earlier version of the layout up to this one
// when it is opened for writing. The book is first copied aside (beside it,
// through SQLite's backup, so the write-ahead log is included); then every
// column the book lacks is added and the new version recorded in one
// transaction; the copy is removed once that committed. On failure the
// transaction leaves the book as it was, the copy (when one was made) stays
// for rescue, and an SQLite::Exception says why (SQLITE_FULL for a full
// disk). Books of this version, or newer within the same major version, only
// get the columns they lack and keep their recorded version.
namespace StoreMigration {

void upgrade(SQLite::Database &db, const QString &bookPath);

// Where the copy of a book is kept while it is upgraded from `version`.
QString asidePath(const QString &bookPath, const QString &version);

} // namespace StoreMigration
} // namespace quillery
