#pragma once

#include <QCoreApplication>
#include <QDateTime>
#include <QList>
#include <QTemporaryDir>

#include <memory>
#include <optional>

namespace quillery {

class AlarmService;
class Store;

// Puts the book back as a copy of it left it. The copy is read from a copy
// of its own (the file the user chose is never written), checked with
// PRAGMA integrity_check and opened as a book before anything changes. The
// book's records are then made equal to the copy's through their ordinary
// setters: fields that differ are written, records the copy has and the
// book lacks come back under their own ids, and records the copy lacks are
// removed. So the restore reaches the mirror as ordinary changes, stamped
// later than anything another computer holds, and the records both sides
// already agree on are not sent at all.
class BookRestore final
{
    Q_DECLARE_TR_FUNCTIONS(BookRestore)
public:
    // How many pages and tasks a copy holds.
    struct Counts {
        int pages = 0;
        int tasks = 0;
    };

    // A copy kept in the backups folder: the daily ones and those kept
    // before a restore.
    struct Kept {
        QString path;
        QDateTime taken; // local time; midnight for a daily copy
        bool beforeRestore = false;
    };

    explicit BookRestore(Store &store);
    ~BookRestore();

    // The copies in `folder`, newest first.
    static QList<Kept> keptIn(const QString &folder);
    // Where the book as it is at `now` is kept before a restore.
    static QString beforeRestorePath(const QString &folder, const QDateTime &now);
    // Counts the pages and tasks of the book file at `path` without
    // changing it; nothing when it cannot be read as a book.
    static std::optional<Counts> count(const QString &path);

    // Reads the copy at `path`. False, with a sentence for the user in
    // `error`, when it is damaged or not a book this version can use.
    bool load(const QString &path, QString *error);
    bool isLoaded() const { return m_copy != nullptr; }
    Counts loaded() const;

    // Saves the book and copies it, as it is now, to beforeRestorePath().
    // False, with a sentence for the user in `error`, when that copy cannot
    // be written: a restore then does not go ahead.
    bool keepBook(const QString &folder, const QDateTime &now, QString *error);

    // Makes the book equal to the loaded copy. `alarms` (may be null)
    // follows the tasks that come, change or go.
    void apply(AlarmService *alarms);

private:
    Store &m_store;
    QTemporaryDir m_dir;
    std::unique_ptr<Store> m_copy;
};

} // namespace quillery
