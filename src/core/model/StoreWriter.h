#pragma once

#include "Record.h"

#include <QList>

#include <memory>

namespace SQLite {
class Database;
class Statement;
} // namespace SQLite

namespace quillery {

struct StoreRemoval;

// Writes records and removals to the book file with prepared statements
// (made from each kind's fields), all in one transaction per call. Rows of new records get their row ids
// here; on failure those ids are taken back so the next attempt inserts again.
class StoreWriter final
{
public:
    explicit StoreWriter(SQLite::Database &db);
    ~StoreWriter();

    // Throws SQLite::Exception when the transaction fails (nothing is written
    // then); on success the records' dirty flags are cleared.
    void write(const QList<Record *> &dirty, const QList<StoreRemoval> &removals);

private:
    void writeRecord(Record *record);
    void writeData(class Attachment *attachment, bool fresh);
    void remove(const StoreRemoval &removal);
    void inserted(Record *record);

    SQLite::Database &m_db;
    // By kind: the statements that insert a row and update one.
    std::unique_ptr<SQLite::Statement> m_insert[3], m_update[3];
    std::unique_ptr<SQLite::Statement> m_putData, m_dropData;
    std::unique_ptr<SQLite::Statement> m_tombstone, m_forgetTombstone;
    QList<Record *> m_newRows;
};

} // namespace quillery
