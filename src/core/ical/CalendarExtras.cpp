#include "CalendarExtras.h"

#include "core/model/Store.h"
#include "core/util/Uuid.h"

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>
#include <SQLiteCpp/Transaction.h>

namespace quillery {

CalendarExtras::CalendarExtras(Store &store)
    : m_store(store)
{ }

bool CalendarExtras::ensureTable(QString *error)
{
    try {
        m_store.database().exec(
            "CREATE TABLE IF NOT EXISTS ical_kept (task_id TEXT PRIMARY KEY, properties TEXT NOT NULL)");
        return true;
    } catch (const std::exception &e) {
        if (error)
            *error = QString::fromUtf8(e.what());
        return false;
    }
}

QHash<QUuid, QString> CalendarExtras::readAll()
{
    QHash<QUuid, QString> kept;
    SQLite::Database &db = m_store.database();
    try {
        if (!db.tableExists("ical_kept"))
            return kept;
        QList<std::string> gone;
        SQLite::Statement read(db, "SELECT task_id, properties FROM ical_kept");
        while (read.executeStep()) {
            const std::string id = read.getColumn(0).getString();
            const QUuid uuid = uuidFromString(QString::fromStdString(id));
            if (m_store.task(uuid))
                kept.insert(uuid, QString::fromStdString(read.getColumn(1).getString()));
            else
                gone.append(id);
        }
        if (!gone.isEmpty()) {
            SQLite::Transaction transaction(db);
            SQLite::Statement drop(db, "DELETE FROM ical_kept WHERE task_id = ?");
            for (const std::string &id : gone) {
                drop.bind(1, id);
                drop.exec();
                drop.reset();
            }
            transaction.commit();
        }
    } catch (const std::exception &) {
        // Kept properties are a courtesy to other planners: a file that
        // cannot give them still exports every task.
    }
    return kept;
}

QHash<QUuid, QString> CalendarExtras::read(const QList<QUuid> &tasks)
{
    QHash<QUuid, QString> kept;
    SQLite::Database &db = m_store.database();
    try {
        if (tasks.isEmpty() || !db.tableExists("ical_kept"))
            return kept;
        SQLite::Statement read(db, "SELECT properties FROM ical_kept WHERE task_id = ?");
        for (const QUuid &task : tasks) {
            read.bind(1, uuidString(task).toStdString());
            if (read.executeStep())
                kept.insert(task, QString::fromStdString(read.getColumn(0).getString()));
            read.reset();
        }
    } catch (const std::exception &) {
        // As with readAll(): the tasks still go out, without them.
    }
    return kept;
}

bool CalendarExtras::write(const QHash<QUuid, QString> &kept, QString *error)
{
    if (kept.isEmpty())
        return true;
    if (!ensureTable(error))
        return false;
    SQLite::Database &db = m_store.database();
    try {
        SQLite::Transaction transaction(db);
        SQLite::Statement put(db, "INSERT OR REPLACE INTO ical_kept (task_id, properties) VALUES (?, ?)");
        SQLite::Statement drop(db, "DELETE FROM ical_kept WHERE task_id = ?");
        for (auto it = kept.begin(); it != kept.end(); ++it) {
            SQLite::Statement &s = it.value().isEmpty() ? drop : put;
            s.bind(1, uuidString(it.key()).toStdString());
            if (!it.value().isEmpty())
                s.bind(2, it.value().toStdString());
            s.exec();
            s.reset();
        }
        transaction.commit();
        return true;
    } catch (const std::exception &e) {
        if (error)
            *error = QString::fromUtf8(e.what());
        return false;
    }
}

} // namespace quillery
