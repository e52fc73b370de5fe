#include "CalDavQueue.h"

#include "core/util/Uuid.h"

#include <QJsonObject>

#include <algorithm>

namespace quillery {

void CalDavQueue::add(const QString &uid, Kind kind, const QUuid &task, qint64 when)
{
    Entry &entry = m_entries[uid];
    entry.kind = kind;
    entry.task = task;
    entry.when = std::max(entry.when, when);
    entry.refused.clear();
}

void CalDavQueue::settle(const QString &uid, const Entry &sent)
{
    const auto found = m_entries.constFind(uid);
    if (found == m_entries.cend())
        return;
    if (found->kind == sent.kind && found->when == sent.when)
        m_entries.erase(found);
}

void CalDavQueue::refuse(const QString &uid, const QString &why)
{
    const auto found = m_entries.find(uid);
    if (found != m_entries.end())
        found->refused = why;
}

QStringList CalDavQueue::uids() const
{
    QStringList out = m_entries.keys();
    std::sort(out.begin(), out.end(), [this](const QString &a, const QString &b) {
        const qint64 wa = m_entries.value(a).when;
        const qint64 wb = m_entries.value(b).when;
        return wa != wb ? wa < wb : a < b;
    });
    return out;
}

int CalDavQueue::refusedCount() const
{
    return int(std::count_if(
        m_entries.cbegin(), m_entries.cend(), [](const Entry &entry) { return !entry.refused.isEmpty(); }));
}

QJsonArray CalDavQueue::toJson() const
{
    QJsonArray array;
    for (const QString &uid : uids()) {
        const Entry &entry = m_entries[uid];
        QJsonObject object { { QStringLiteral("uid"), uid },
            { QStringLiteral("kind"), entry.kind == Kind::Put ? QStringLiteral("put") : QStringLiteral("delete") },
            { QStringLiteral("task"), uuidString(entry.task) },
            { QStringLiteral("when"), QString::number(entry.when) } };
        if (!entry.refused.isEmpty())
            object.insert(QStringLiteral("refused"), entry.refused);
        array.append(object);
    }
    return array;
}

CalDavQueue CalDavQueue::fromJson(const QJsonArray &array)
{
    CalDavQueue queue;
    for (const QJsonValue value : array) {
        const QJsonObject object = value.toObject();
        const QString uid = object.value(QStringLiteral("uid")).toString();
        if (uid.isEmpty())
            continue;
        Entry entry;
        entry.kind
            = object.value(QStringLiteral("kind")).toString() == QLatin1String("delete") ? Kind::Delete : Kind::Put;
        entry.task = uuidFromString(object.value(QStringLiteral("task")).toString());
        entry.when = object.value(QStringLiteral("when")).toString().toLongLong();
        entry.refused = object.value(QStringLiteral("refused")).toString();
        queue.m_entries.insert(uid, entry);
    }
    return queue;
}

} // namespace quillery
