#pragma once

#include "core/model/Field.h"
#include "core/model/Record.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QUuid>

#include <optional>

namespace quillery {

class Store;

// Every stored field of one record at one moment, its links kept as ids and
// an attachment's bytes included, so that the record can be compared with
// what it became, written back field by field, or made again with the same
// id after it was deleted.
struct RecordState {
    Record::Kind kind = Record::Kind::Task;
    QUuid id;
    qint64 created = 0;
    // Page
    double position = 0;
    QString title;
    int colorIndex = 0;
    // TaskItem
    QString text;
    bool done = false;
    double order = 0;
    std::optional<qint64> due;
    std::optional<qint64> alarm;
    QString notes;
    QString placeName;
    QString placeAddress;
    std::optional<double> latitude;
    std::optional<double> longitude;
    int indent = 0;
    QUuid page;
    // Attachment
    QString name;
    QString typeIdentifier;
    std::optional<QByteArray> data;
    QUuid task;

    // The record as it is now (an attachment's bytes read from the file when
    // they are not in memory).
    static RecordState of(const Record &record);
    // The fields a record of `kind` keeps, its id aside.
    static const QList<Field> &fields(Record::Kind kind);

    // Whether `field` holds the same value in both.
    bool same(const RecordState &other, Field field) const;
    // Whether every field holds the same value in both.
    bool sameFields(const RecordState &other) const;

    // The live record this state names, if there is one.
    Record *live(const Store &store) const;
    // The live record this state's link names (a task's page, an
    // attachment's task); null when unlinked or gone.
    Record *parent(const Store &store) const;
    bool isLinked() const { return !(kind == Record::Kind::Task ? page : task).isNull(); }

    // Writes `field` into `record`. A link to a record that is not live
    // leaves the record where it is and returns false.
    bool write(Field field, Record &record, const Store &store) const;
    // A new record holding this state (links aside), not yet in a store.
    Record *make() const;
};

} // namespace quillery
