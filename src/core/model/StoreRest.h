#pragma once

#include "StoreLoader.h"
#include "StoreOpenError.h"

#include <QObject>
#include <QSet>
#include <QTimer>

#include <atomic>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

struct sqlite3;

namespace SQLite {
class Database;
} // namespace SQLite

namespace quillery {

class Store;

// What is left of a book opened page first after its first page: the other
// tasks and attachments, read in short slices on the event loop through a
// connection of its own that keeps seeing the file as it was opened (edits
// saved meanwhile are not read back as records of the book), and then the
// check of the file's integrity on a thread of its own, so that the window
// stays responsive while a large book comes in.
class StoreRest final : public QObject
{
    Q_OBJECT
public:
    // The rows already read, by row id.
    struct Read {
        QSet<qint64> tasks;
        QSet<qint64> attachments;
    };

    // Reads the pages of the book and the tasks of `firstPage` (by id text;
    // the first page when none has it) with their attachments into `store`
    // through `db`. Throws SQLite::Exception.
    static Read readFirstPage(Store &store, SQLite::Database &db, const QString &firstPage);

    StoreRest(Store &store, Read read);
    ~StoreRest() override;

    // Starts a read transaction on the book at `path`, before anything is
    // saved: what is read from here on is the book as it was opened. Then
    // reads the rest on the event loop. Throws SQLite::Exception.
    void begin(const QString &path);
    bool isReading() const { return m_reading; }
    bool isChecked() const { return m_checked; }
    // Reads what is left and waits for the check. Nothing while a slice is
    // being read (a record's link looked up from inside the read).
    void finish();
    // Reads what is left (without waiting for the check).
    void finishReading();

private:
    // Reads for about `msecs` (everything when negative).
    void readFor(qint64 msecs);
    void failed(const StoreOpenError &damage);
    void startCheck();
    void checked();

    Store &m_store;
    Read m_read;
    QString m_path;
    std::unique_ptr<SQLite::Database> m_db;
    std::unique_ptr<StoreLoader> m_tasks, m_attachments;
    QTimer m_slices;
    bool m_reading = true;
    bool m_inRead = false;
    bool m_checked = false;
    std::thread m_check;
    std::mutex m_checkMutex;
    sqlite3 *m_checkDb = nullptr; // interrupted when the store closes first
    std::atomic<bool> m_stopping { false };
    std::optional<StoreOpenError> m_checkResult; // written by the check's thread before it ends
};

} // namespace quillery
