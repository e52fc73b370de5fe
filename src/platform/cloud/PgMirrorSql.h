#pragma once

#include "core/sync/MirrorRecord.h"

#include <QByteArray>
#include <QList>

struct pg_result;

namespace quillery {

// The statements the mirror runs against its tables, and the conversion of
// records to and from the server's text forms. Times travel as milliseconds
// since the epoch and are kept as timestamptz (exact to the millisecond).
namespace PgMirrorSql {

const char *table(Record::Kind kind);

// The session's staging table for one kind (emptied at every commit).
QByteArray createStage(Record::Kind kind);
QByteArray copyIntoStage(Record::Kind kind);
// `records` (all of one kind) as COPY text rows for the staging table.
QByteArray copyRows(const QList<const MirrorRecord *> &records);

// The session's counter that numbers the versions one export writes; started
// after the owner's last change number ($1) once the owner's row is locked.
QByteArray createChangeCounter();
QByteArray startChangeCounter();

// Moves the staged versions into the table where they are later than what it
// holds, numbered by the change counter; returns the id and change number of
// each version taken.
QByteArray upsertLive(Record::Kind kind);
QByteArray upsertDeleted(Record::Kind kind);

// Every version of one kind changed after the change number $1 (in change order).
QByteArray selectChangedSince(Record::Kind kind);
// The current versions of the ids in $1 (a uuid[] literal).
QByteArray selectByIds(Record::Kind kind);
MirrorRecord decodeRow(Record::Kind kind, const pg_result *result, int row);
// The highest change number of the result's "change" column (column 1).
qint64 maxChange(const pg_result *result, qint64 floor);

// A uuid[] literal of `ids`.
QByteArray uuidArray(const QList<QUuid> &ids);

} // namespace PgMirrorSql
} // namespace quillery
