#pragma once

#include "Record.h"

#include <QSet>

#include <array>
#include <memory>
#include <string>
#include <utility>
#include <vector>

struct sqlite3_stmt;

namespace SQLite {
class Database;
} // namespace SQLite

namespace quillery {

class Store;
struct StoredField;

// Reads the rows of one record kind from a book file into a store, field by
// field as the kind lists them. A missing or NULL value (or a column the book
// does not have yet) takes the field's default; a row without a usable id
// gets a fresh one (written back on the next save); links to records that do
// not exist are left empty. Attachment bytes are not read here.
//
// Rows are read in the file's order, as many at a time as the caller asks,
// so that a large book can be read in slices between other work.
class StoreLoader final
{
public:
    // Reads every record through `db` (which may be a read-only connection to
    // the same file), parents first so that links find what they point at.
    // Throws SQLite::Exception when the file cannot be read.
    static void load(Store &store, SQLite::Database &db);

    // The rows of `kind` that `where` selects (every row when it is empty);
    // its parameters ?1, ?2, … are `values`.
    StoreLoader(Store &store, SQLite::Database &db, Record::Kind kind, const std::string &where = {},
        const std::vector<std::string> &values = {});
    ~StoreLoader();

    // Rows whose row id is in it are passed over.
    void skip(QSet<qint64> rowIds) { m_skip = std::move(rowIds); }
    // Reads up to `rows` rows, adding their row ids to `readIds` when given.
    // Returns false once no row is left. Throws SQLite::Exception.
    bool read(qsizetype rows, QSet<qint64> *readIds = nullptr);

private:
    QString textAt(int index);
    QVariant valueAt(int index, const StoredField &entry);

    struct Recent {
        QByteArray bytes;
        QString text;
    };

    Store &m_store;
    Record::Kind m_kind;
    SQLite::Database &m_db;
    // Read column by column straight from SQLite: a book of a million tasks
    // has no time for an object per value.
    std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt *)> m_rows;
    std::vector<std::pair<const StoredField *, int>> m_columns; // -1: not in this book
    std::vector<std::string> m_values;
    QSet<qint64> m_skip;
    std::array<Recent, 64> m_recent;
    qint64 m_now;
    bool m_done = false;
    bool m_reserve = false;
};

} // namespace quillery
