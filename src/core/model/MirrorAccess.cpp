#include "MirrorAccess.h"

#include "Store.h"

#include <algorithm>

namespace quillery {

void MirrorAccess::markSynced(Record *record, qint64 modified)
{
    record->m_modified = modified;
    record->m_pending = false;
    if (Store *store = record->m_store)
        store->markDirty(record);
}

void MirrorAccess::markUnsent(Record *record)
{
    record->m_pending = true;
    if (Store *store = record->m_store)
        store->markDirty(record);
}

void MirrorAccess::setPending(Record *record, bool pending)
{
    record->m_pending = pending;
}

void MirrorAccess::raiseStamp(Record *record, qint64 modified)
{
    record->m_modified = std::max(record->m_modified, modified);
}

const StoreRemoval *MirrorAccess::unsavedRemoval(const Store &store, const QUuid &id)
{
    for (auto it = store.m_unsavedRemovals.crbegin(); it != store.m_unsavedRemovals.crend(); ++it) {
        if (it->id == id)
            return &*it;
    }
    return nullptr;
}

void MirrorAccess::markRemovalSynced(Store &store, const QUuid &id, qint64 when)
{
    for (auto it = store.m_unsavedRemovals.rbegin(); it != store.m_unsavedRemovals.rend(); ++it) {
        if (it->id == id) {
            it->when = when;
            it->pending = false;
            return;
        }
    }
}

void MirrorAccess::addTombstone(Store &store, Record::Kind kind, const QUuid &id, qint64 when)
{
    store.m_unsavedRemovals.append({ kind, 0, id, when, true });
    store.scheduleAutosave();
}

} // namespace quillery
