#pragma once

#include "core/model/Field.h"
#include "core/model/Record.h"

#include <QList>
#include <QUuid>
#include <QVariant>

namespace quillery {

class Store;

// Every stored field of one record at one moment, as the record kind's field
// list names them: links kept as ids and an attachment's bytes included, so
// that the record can be compared with what it became, written back field by
// field, or made again with the same id after it was deleted.
struct RecordState {
    Record::Kind kind = Record::Kind::Task;
    QUuid id;
    QList<QVariant> values; // in the order of fieldsOf(kind)

    // The record as it is now (an attachment's bytes read from the file when
    // they are not in memory, without keeping them loaded).
    static RecordState of(const Record &record);
    // The fields a record of `kind` keeps, its id aside.
    static const QList<Field> &fields(Record::Kind kind);

    // The value of `field`; null for a field the kind does not have.
    QVariant value(Field field) const;
    // Whether `field` holds the same value in both.
    bool same(const RecordState &other, Field field) const;
    // Whether every field holds the same value in both.
    bool sameFields(const RecordState &other) const;

    // The live record this state names, if there is one.
    Record *live(const Store &store) const;
    // The live record this state's link names (a task's page, an
    // attachment's task); null when unlinked or gone.
    Record *parent(const Store &store) const;
    bool isLinked() const;

    // Writes `field` into `record`. A link to a record that is not live
    // leaves the record where it is and returns false.
    bool write(Field field, Record &record, const Store &store) const;
    // A new record holding this state (links aside), not yet in a store.
    Record *make() const;
};

} // namespace quillery
