#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QUuid>

namespace quillery {

class Store;

// The iCalendar properties of imported tasks that Quillery has no field for
// (RRULE, DTSTART, CATEGORIES, X- properties of other planners, a UID that
// is not a UUID), kept per task so an export gives them back. They live in a
// table of their own in the book file, made when first needed, so the
// records' own tables stay as they are. They stay on this computer: the
// mirror does not carry them.
class CalendarExtras final
{
public:
    explicit CalendarExtras(Store &store);

    // The kept text of every task that has one. Rows of tasks no longer in
    // the book are dropped on the way.
    QHash<QUuid, QString> readAll();
    // The kept text of those of `tasks` that have one: what a sync round
    // needs, without reading the whole table.
    QHash<QUuid, QString> read(const QList<QUuid> &tasks);
    // Keeps `kept` for the task (an empty text forgets it). False with
    // `error` when the file cannot be written.
    bool write(const QHash<QUuid, QString> &kept, QString *error = nullptr);

private:
    bool ensureTable(QString *error);

    Store &m_store;
};

} // namespace quillery
