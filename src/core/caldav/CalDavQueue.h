#pragma once

#include <QHash>
#include <QJsonArray>
#include <QString>
#include <QStringList>
#include <QUuid>

namespace quillery {

// The changes made here that the server has not yet taken, one per task
// (by UID): the latest of them stands for all, so an edit followed by a
// deletion is a deletion, and a task put back after its deletion is sent
// again. An entry leaves the queue only when the server took it or the
// merge settled it; a request that fails or is turned down leaves it in
// place for the next round, with the reason kept for the status line.
class CalDavQueue final
{
public:
    enum class Kind { Put, Delete };
    struct Entry {
        Kind kind = Kind::Put;
        QUuid task;
        qint64 when = 0; // ms since the epoch: when the change was made here
        QString refused; // why the server last turned it down; empty if it did not
        friend bool operator==(const Entry &, const Entry &) = default;
    };

    void add(const QString &uid, Kind kind, const QUuid &task, qint64 when);
    // Drops the entry of `uid` if it is still the one that was sent (a
    // change made while the request was under way stays queued).
    void settle(const QString &uid, const Entry &sent);
    void refuse(const QString &uid, const QString &why);

    bool isEmpty() const { return m_entries.isEmpty(); }
    int size() const { return int(m_entries.size()); }
    bool contains(const QString &uid) const { return m_entries.contains(uid); }
    Entry entry(const QString &uid) const { return m_entries.value(uid); }
    // Queued UIDs, oldest change first, so sending keeps the order of edits.
    QStringList uids() const;
    int refusedCount() const;

    QJsonArray toJson() const;
    static CalDavQueue fromJson(const QJsonArray &array);

private:
    QHash<QString, Entry> m_entries;
};

} // namespace quillery
