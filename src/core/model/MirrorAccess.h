#pragma once

#include "Record.h"

#include <QByteArray>

#include <optional>

namespace quillery {

class Attachment;
class Store;
struct StoreRemoval;

// The mirror's way into the store's bookkeeping: when each record last
// changed, whether that change still has to be sent, and how a version that
// came from the server is recorded (with the server's time stamp and nothing
// left to send). Everything else the mirror does goes through the records'
// ordinary setters and Store::insert/remove, so views see imported changes
// exactly like local ones. Main thread only, like the store.
class MirrorAccess final
{
public:
    static qint64 modified(const Record *record) { return record->m_modified; }
    static bool isPending(const Record *record) { return record->m_pending; }

    // The record now holds the server's version stamped `modified`: nothing
    // is left to send, and the row is rewritten so on the next save.
    static void markSynced(Record *record, qint64 modified);
    // The record's version is to be sent again: pending, and written so on
    // the next save (its time stamp stays).
    static void markUnsent(Record *record);
    // Sets only the in-memory flag; the caller keeps the file in step.
    static void setPending(Record *record, bool pending);
    // Raises the record's stamp to at least `modified`, so that removing it
    // right after stamps the deletion later than that version.
    static void raiseStamp(Record *record, qint64 modified);

    // The unsaved deletion of `id` (from Store::remove since the last save).
    static const StoreRemoval *unsavedRemoval(const Store &store, const QUuid &id);
    // Gives the unsaved deletion of `id` the server's time stamp and marks it
    // as already known to the server.
    static void markRemovalSynced(Store &store, const QUuid &id, qint64 when);
    // Records, to be sent, the deletion of a record this store never held.
    static void addTombstone(Store &store, Record::Kind kind, const QUuid &id, qint64 when);
};

} // namespace quillery
