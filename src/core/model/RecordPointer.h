#pragma once

#include "Record.h"
#include "RecordNotifier.h"

#include <QPointer>

namespace quillery {

// A weak pointer to a record: null once the record is destroyed (removed
// records are destroyed on the event loop, shortly after their removal).
// Views keep the records they show this way.
template <typename T> class RecordPointer
{
public:
    RecordPointer() = default;
    RecordPointer(T *record) // NOLINT(google-explicit-constructor): used like a plain pointer
        : m_watch(record ? record->Record::notifier() : nullptr)
        , m_record(record)
    { }

    T *data() const { return m_watch ? m_record : nullptr; }
    T *get() const { return data(); }
    bool isNull() const { return data() == nullptr; }
    void clear() { *this = RecordPointer(); }

    operator T *() const { return data(); } // NOLINT(google-explicit-constructor)
    T *operator->() const { return data(); }
    T &operator*() const { return *data(); }

private:
    QPointer<RecordNotifier> m_watch;
    T *m_record = nullptr;
};

} // namespace quillery
