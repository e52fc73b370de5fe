#pragma once

#include "MirrorRecord.h"

#include <QObject>
#include <QSet>
#include <QUuid>

#include <memory>
#include <optional>

namespace SQLite {
class Statement;
}

namespace quillery {

class Store;

// The book's side of the mirror: which changes still have to reach the
// server, which server the book is mirrored to and how far its changes have
// been read, and this device's identity. It lives in the book file itself
// (the rows' `pending` flags, the tombstones and a small table of its own),
// so a change that has not reached the server stays pending across restarts
// and crashes. Main thread only, like the store.
class MirrorLedger final : public QObject
{
    Q_OBJECT
public:
    explicit MirrorLedger(Store &store, QObject *parent = nullptr);
    ~MirrorLedger() override;

    // Reads the bookkeeping (creating it in a book that has none) and finds
    // what is pending. False, with `error`, when the file cannot be used.
    bool open(QString *error);

    Store &store() const { return m_store; }
    QUuid device() const { return m_device; }
    // The server-side mirror the book was last mirrored to; null before the
    // first mirror.
    QUuid mirrorId() const { return m_mirrorId; }
    // The server's change number up to which its changes are in the book.
    qint64 cursor() const { return m_cursor; }
    bool setCursor(qint64 cursor, QString *error = nullptr);

    // Starts mirroring to a server-side mirror this book was not mirrored to
    // before: every record becomes pending (so both sides are merged, never
    // wiped) and the server's changes are read from the beginning.
    bool adoptMirror(const QUuid &mirrorId, QString *error = nullptr);

    // Whether anything (a record or a deletion) still has to be sent.
    bool hasPending();

    // The next changes to send, saved to the file first: pages, then tasks,
    // then attachments, then deletions, so a record never reaches the server
    // before the record it belongs to. At most `maxRecords`, and about
    // `maxBytes` of attachment content (always at least one record).
    // Empty with `error` set when the book cannot be saved or read.
    QList<MirrorRecord> collect(int maxRecords, qint64 maxBytes, QString *error);

    // The server holds these versions now: each stops being pending unless it
    // changed again since it was collected.
    bool acknowledge(const QList<MirrorKey> &held, QString *error = nullptr);

    // Sends the record's current version again, though it was settled.
    void resend(Record *record);

    // This device's current version of a live record.
    MirrorRecord snapshot(const Record *record) const;

    struct Tombstone {
        qint64 deleted = 0;
        bool pending = false;
    };
    // The recorded deletion of `id`, saved or not.
    std::optional<Tombstone> tombstone(const QUuid &id) const;
    // The server holds a deletion of `id` at least as late as ours.
    bool settleTombstone(const QUuid &id, qint64 deleted);
    // `id` lives again (a later version won over its deletion).
    bool forgetTombstone(const QUuid &id);

private:
    QSet<Record *> &pendingSet(Record::Kind kind);
    void track(Record *record);
    void untrack(Record *record);
    bool writeState(const char *key, const QString &value, QString *error);

    Store &m_store;
    QUuid m_device;
    QUuid m_mirrorId;
    qint64 m_cursor = 0;
    QSet<Record *> m_pendingPages, m_pendingTasks, m_pendingAttachments;
    std::unique_ptr<SQLite::Statement> m_findTombstone;
};

} // namespace quillery
