#pragma once

#include "Field.h"
#include "RecordNotifier.h"
#include "core/util/Clock.h"

#include <QDateTime>
#include <QUuid>

#include <memory>
#include <optional>

namespace quillery {

class Store;
struct StoredField;

// Base of the three persistent record types. A record is created with every
// field at its default, then inserted into a Store, which owns it from then
// on. Every setter ignores a value equal to the current one; a real change
// tells the store so it can save (and mirror) it, then emits the field's own
// signal and `changed` through the record's notifier, when it has one.
//
// Records are identified by object identity. `id` is a field like any other,
// used where an identity must survive outside the store.
class Record
{
public:
    enum class Kind { Page, Task, Attachment };

    // Passed by the store's loader: skips making a fresh id and creation time,
    // which the stored row provides.
    struct LoadTag {
    };

    Record(const Record &) = delete;
    Record &operator=(const Record &) = delete;
    virtual ~Record();

    virtual Kind kind() const = 0;

    QUuid id() const { return m_id; }
    void setId(const QUuid &id);

    QDateTime created() const { return QDateTime::fromMSecsSinceEpoch(m_created, Qt::UTC); }
    qint64 createdMSecs() const { return m_created; }
    void setCreated(const QDateTime &created);

    Store *store() const { return m_store; }
    bool isInserted() const { return m_store != nullptr; }
    // True from the moment the record is removed from its store until it is
    // destroyed (shortly after, on the event loop). Views that hold a record
    // check this or hold it through a RecordPointer.
    bool isDeleted() const { return m_deleted; }
    // True once the record has a row in the book file.
    bool isStored() const { return m_rowId != 0; }

    // The record's signals, made on first use (see RecordNotifier). Each kind
    // hands out its own notifier type.
    RecordNotifier *notifier() const;

protected:
    Record();
    explicit Record(LoadTag);

    // The creation time as a field of every kind: a null value leaves it.
    static StoredField createdField();

    // Assigns `value` to `member` when it differs, then reports the change.
    // Returns whether anything changed.
    template <typename T, typename Signal> bool assign(T &member, const T &value, Field field, Signal signal)
    {
        if (member == value)
            return false;
        willChange(field);
        member = value;
        didChange(field);
        notify(field, signal);
        return true;
    }

    // Emits `signal` of the notifier, then `changed(field)`, when the record
    // has a notifier.
    template <typename Signal> void notify(Field field, Signal signal)
    {
        if (RecordNotifier *watcher = m_notifier.get()) {
            Q_EMIT(static_cast<typename MemberClass<Signal>::type *>(watcher)->*signal)();
            Q_EMIT watcher->changed(field);
        }
    }
    // Emits `signal` of the notifier alone, when the record has a notifier.
    template <typename Signal> void notify(Signal signal)
    {
        if (RecordNotifier *watcher = m_notifier.get())
            Q_EMIT(static_cast<typename MemberClass<Signal>::type *>(watcher)->*signal)();
    }

    // Makes the notifier of the record's kind.
    virtual std::unique_ptr<RecordNotifier> makeNotifier() const = 0;

    // Tells the store that `field` is about to change: its getter still gives
    // the old value, which an undo history keeps.
    void willChange(Field field);
    // Tells the store that `field` changed (no signal is emitted here).
    void didChange(Field field);

private:
    template <typename> struct MemberClass;
    template <typename C> struct MemberClass<void (C::*)()> {
        using type = C;
    };

    friend class Store;
    friend class StoreLoader;
    friend class StoreWriter;
    friend class MirrorAccess;
    friend class RecoveryJournal;

    // Kept small: a book holds a million of these. The flags come last, as
    // bits, so that a record kind's own small members fill the bytes after
    // them.
    Store *m_store = nullptr;
    qint64 m_rowId = 0; // row in the file; 0 until first written
    qint64 m_modified = 0; // when a field last changed (ms since the epoch)
    QUuid m_id = QUuid::createUuid();
    // Until the record is inserted; the store then stamps it with its own
    // clock unless a creation time was given.
    qint64 m_created = Clock::system().nowMSecs();
    mutable std::unique_ptr<RecordNotifier> m_notifier;
    bool m_deleted : 1 = false;
    bool m_dirty : 1 = false; // has changes not yet written to the file
    bool m_pending : 1 = true; // has changes the mirror has not yet sent
    bool m_createdGiven : 1 = false;
};

// `record` as a `T` when it is one, else null (the cast of a QObject, for
// records).
template <typename T> T *recordCast(Record *record)
{
    return record && record->kind() == T::kindOf ? static_cast<T *>(record) : nullptr;
}
template <typename T> const T *recordCast(const Record *record)
{
    return record && record->kind() == T::kindOf ? static_cast<const T *>(record) : nullptr;
}

// The name of a record type wherever it is written down ("page", "task",
// "attachment"): tombstones, the mirror, diagnostics.
const char *entityName(Record::Kind kind);

// Conversions between the optional millisecond times the records keep and the
// QDateTime values they hand out.
inline std::optional<QDateTime> toDateTime(std::optional<qint64> ms)
{
    if (!ms)
        return std::nullopt;
    return QDateTime::fromMSecsSinceEpoch(*ms, Qt::UTC);
}

inline std::optional<qint64> toMSecs(const std::optional<QDateTime> &dt)
{
    if (!dt || !dt->isValid())
        return std::nullopt;
    return dt->toMSecsSinceEpoch();
}

} // namespace quillery
