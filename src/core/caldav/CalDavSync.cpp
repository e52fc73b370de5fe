#include "CalDavSync.h"

#include "core/ical/CalendarExtras.h"
#include "core/ical/TaskVtodo.h"
#include "core/model/MirrorAccess.h"
#include "core/model/Page.h"
#include "core/model/Store.h"
#include "core/model/TaskItem.h"
#include "core/util/Uuid.h"

#include <algorithm>

namespace quillery {

namespace {

// Requests under way at once: what HTTP/1.1 clients keep open to one host.
constexpr int ParallelRequests = 6;
// Rounds run again at once after a 412 before the rest waits for the next.
constexpr int MaxPasses = 3;

} // namespace

CalDavSync::CalDavSync(
    Store &store, CalDavLink &link, DavClient &client, const CalendarContext &calendar, QObject *parent)
    : QObject(parent)
    , m_store(store)
    , m_link(link)
    , m_client(client)
    , m_calendar(calendar)
    , m_fetch(client, m_calendar, m_types)
{ }

Page *CalDavSync::page() const
{
    Page *page = m_store.page(m_link.page);
    return page && !page->isDeleted() ? page : nullptr;
}

qint64 CalDavSync::stampOf(const TaskItem *task) const
{
    qint64 stamp = MirrorAccess::modified(task);
    for (const Attachment *attachment : task->attachments()) {
        if (!attachment->isDeleted())
            stamp = std::max(stamp, MirrorAccess::modified(attachment));
    }
    return stamp;
}

void CalDavSync::collect()
{
    Page *linked = page();
    if (!linked)
        return;
    QHash<QUuid, QString> known;
    for (auto it = m_link.items.cbegin(); it != m_link.items.cend(); ++it)
        known.insert(it->task, it.key());
    const QList<TaskItem *> tasks = linked->sortedTasks();
    // Only a task the list has not seen yet needs its kept UID; this runs
    // after every save, so the rest of the table is left unread.
    QList<QUuid> unnamed;
    for (const TaskItem *task : tasks) {
        if (!known.contains(task->id()))
            unnamed.append(task->id());
    }
    const QHash<QUuid, QString> kept = CalendarExtras(m_store).read(unnamed);
    m_parentOf.clear();
    m_uidOfTask.clear();
    QSet<QString> present;
    QList<std::pair<int, QString>> above; // indent, UID
    for (const TaskItem *task : tasks) {
        QString uid = known.value(task->id());
        if (uid.isEmpty())
            uid = TaskVtodo::uidOf(*task, kept.value(task->id()));
        m_uidOfTask.insert(task->id(), uid);
        present.insert(uid);
        while (!above.isEmpty() && above.last().first >= task->indent())
            above.removeLast();
        if (!above.isEmpty())
            m_parentOf.insert(uid, above.last().second);
        above.append({ task->indent(), uid });

        const qint64 stamp = stampOf(task);
        const auto item = m_link.items.constFind(uid);
        if (item != m_link.items.cend() && stamp <= item->synced)
            continue;
        const CalDavQueue::Entry queued = m_link.queue.entry(uid);
        if (m_link.queue.contains(uid) && queued.kind == CalDavQueue::Kind::Put && queued.when == stamp)
            continue;
        m_link.queue.add(uid, CalDavQueue::Kind::Put, task->id(), stamp);
    }
    const qint64 now = m_store.clock().nowMSecs();
    for (auto it = m_link.items.cbegin(); it != m_link.items.cend(); ++it) {
        if (present.contains(it.key()))
            continue;
        if (m_link.queue.contains(it.key()) && m_link.queue.entry(it.key()).kind == CalDavQueue::Kind::Delete)
            continue;
        m_link.queue.add(it.key(), CalDavQueue::Kind::Delete, it->task, now);
    }
}

void CalDavSync::run()
{
    if (m_running)
        return;
    m_running = true;
    m_pass = 0;
    m_outcome = Outcome {};
    collect();
    m_fetch.run(m_link, [this](const CalDavChanges &changes) { onChanges(changes); });
}

void CalDavSync::onChanges(const CalDavChanges &changes)
{
    if (!changes.error.isEmpty())
        return finish(changes.status, changes.error);
    if (!page())
        return finish(-1, tr("The linked page is no longer in the book"));

    QHash<QString, QString> uidOfHref;
    for (auto it = m_link.items.cbegin(); it != m_link.items.cend(); ++it)
        uidOfHref.insert(it->href, it.key());
    m_changedHref.clear();
    m_goneUids.clear();
    for (auto it = changes.changed.cbegin(); it != changes.changed.cend(); ++it) {
        if (it->content)
            m_changedHref.insert(it->content->task.uid, it.key());
    }
    for (const QString &href : changes.gone) {
        const QString uid = uidOfHref.value(href);
        if (!uid.isEmpty() && !m_changedHref.contains(uid))
            m_goneUids.insert(uid);
    }

    QStringList uids = m_link.queue.uids();
    for (auto it = m_changedHref.cbegin(); it != m_changedHref.cend(); ++it) {
        if (!m_link.queue.contains(it.key()))
            uids << it.key();
    }
    for (const QString &uid : std::as_const(m_goneUids)) {
        if (!m_link.queue.contains(uid))
            uids << uid;
    }

    // Only a queued change can be sent, so only queued tasks need their
    // kept properties.
    QList<QUuid> queuedTasks;
    for (const QString &uid : m_link.queue.uids())
        queuedTasks.append(m_link.queue.entry(uid).task);
    const QHash<QUuid, QString> kept = CalendarExtras(m_store).read(queuedTasks);
    QHash<QUuid, QString> keptOut;
    m_lastOrder = 0;
    bool anyTask = false;
    for (const TaskItem *task : page()->tasks()) {
        if (task->isDeleted())
            continue;
        m_lastOrder = anyTask ? std::max(m_lastOrder, task->order()) : task->order();
        anyTask = true;
    }
    {
        const Store::Housekeeping upkeep(m_store);
        for (const QString &uid : std::as_const(uids))
            settle(uid, changes, kept, keptOut);
    }
    if (!keptOut.isEmpty()) {
        QString error;
        if (!CalendarExtras(m_store).write(keptOut, &error))
            return finish(-1, error);
    }
    if (!changes.syncToken.isEmpty())
        m_link.syncToken = changes.syncToken;
    if (!changes.ctag.isEmpty())
        m_link.ctag = changes.ctag;
    if (!saveBook())
        return;
    Q_EMIT checkpoint();
    sendMore();
}

void CalDavSync::settle(
    const QString &uid, const CalDavChanges &changes, const QHash<QUuid, QString> &kept, QHash<QUuid, QString> &keptOut)
{
    const bool isKnown = m_link.items.contains(uid);
    const CalDavItem known = m_link.items.value(uid);
    const bool queued = m_link.queue.contains(uid);
    const CalDavQueue::Entry entry = m_link.queue.entry(uid);
    const auto drop = [this, &uid] { m_link.queue.settle(uid, m_link.queue.entry(uid)); };

    const QString changedHref = m_changedHref.value(uid);
    const auto changedAt = changes.changed.constFind(changedHref);
    const CalDavChanges::Resource *resource
        = changedHref.isEmpty() || changedAt == changes.changed.cend() ? nullptr : &*changedAt;
    CalDavMerge::Side remote;
    if (resource) {
        remote.exists = true;
        remote.changed = !isKnown || resource->etag.isEmpty() || resource->etag != known.etag;
        remote.modified = resource->content->modified;
    } else if (m_goneUids.contains(uid)) {
        remote.changed = true;
    } else {
        remote.exists = isKnown;
    }

    TaskItem *task = m_store.task(queued ? entry.task : known.task);
    if (task && (task->isDeleted() || task->page() != page()))
        task = nullptr;
    CalDavMerge::Side local;
    local.exists = task != nullptr;
    local.changed = queued;
    local.modified = CalDavCodec::toSeconds(entry.when);

    const QString href = resource ? changedHref
        : isKnown                 ? known.href
                  : QUrl(m_link.collection).path(QUrl::FullyEncoded) + QString::fromLatin1(QUrl::toPercentEncoding(uid))
            + QStringLiteral(".ics");
    const QString etag = resource ? resource->etag : known.etag;

    switch (CalDavMerge::decide(local, remote)) {
    case CalDavMerge::Action::None:
        if (!remote.exists || !local.exists) {
            m_link.items.remove(uid);
            drop();
        }
        break;
    case CalDavMerge::Action::Adopt:
        m_link.items.insert(uid, CalDavItem { href, etag, task->id(), stampOf(task) });
        drop();
        break;
    case CalDavMerge::Action::Pull:
        pull(uid, href, *resource, task, keptOut);
        drop();
        ++m_outcome.received;
        break;
    case CalDavMerge::Action::DeleteLocal:
        m_store.remove(task);
        m_link.items.remove(uid);
        drop();
        ++m_outcome.received;
        break;
    case CalDavMerge::Action::Push:
        // A list that lost the task gets it back as a new resource.
        queueSend(uid, false, task, href, remote.exists ? etag : QString(), kept);
        break;
    case CalDavMerge::Action::DeleteRemote:
        queueSend(uid, true, nullptr, href, etag, kept);
        break;
    }
}

void CalDavSync::pull(const QString &uid, const QString &href, const CalDavChanges::Resource &resource, TaskItem *task,
    QHash<QUuid, QString> &keptOut)
{
    ical::VtodoTask from = resource.content->task;
    // Subtasks are one level deep here, whatever the chain there.
    from.indent = from.parentUid.isEmpty() ? 0 : 1;
    const bool isNew = task == nullptr;
    if (isNew) {
        // Tasks from planners that keep no order of ours go to the end.
        m_lastOrder = std::max(m_lastOrder, from.order.value_or(m_lastOrder + 1.0));
        task = new TaskItem(from.text, from.order.value_or(m_lastOrder));
    }
    QString keptText = TaskVtodo::apply(from, *task, m_store);
    if (isNew)
        task->setPage(page());
    else if (from.order)
        task->setOrder(*from.order);
    // A task named by its own id carries no UID in its kept text; only
    // other names need that text read.
    if (uuidString(task->id()) != uid && TaskVtodo::uidOf(*task, keptText) != uid)
        keptText = CalDavCodec::withUid(keptText, uid);
    keptOut.insert(task->id(), keptText);
    m_link.items.insert(uid, CalDavItem { href, resource.etag, task->id(), stampOf(task) });
}

void CalDavSync::queueSend(const QString &uid, bool remove, TaskItem *task, const QString &href, const QString &etag,
    const QHash<QUuid, QString> &kept)
{
    Outgoing out;
    out.uid = uid;
    out.entry = m_link.queue.entry(uid);
    out.href = href;
    out.etag = etag;
    if (!remove) {
        out.stamp = stampOf(task);
        out.body
            = CalDavCodec::encode(*task, out.stamp, m_parentOf.value(uid), kept.value(task->id()), m_calendar, m_types);
    }
    m_outgoing.append(out);
}

void CalDavSync::sendMore()
{
    while (m_inFlight < ParallelRequests && !m_failure && !m_outgoing.isEmpty()) {
        const Outgoing out = m_outgoing.takeFirst();
        DavRequest request;
        request.url = QUrl(m_link.collection).resolved(QUrl::fromEncoded(out.href.toUtf8()));
        if (out.body.isEmpty()) {
            request.method = "DELETE";
        } else {
            request.method = "PUT";
            request.contentType = "text/calendar; charset=utf-8";
            request.body = out.body;
        }
        if (!out.etag.isEmpty())
            request.headers.append(std::pair<QByteArray, QByteArray>("If-Match", out.etag.toUtf8()));
        else if (!out.body.isEmpty())
            request.headers.append(std::pair<QByteArray, QByteArray>("If-None-Match", "*"));
        ++m_inFlight;
        m_client.send(request, [this, out](const DavReply &reply) {
            --m_inFlight;
            onSent(out, reply);
        });
    }
    if (m_inFlight > 0 || (!m_outgoing.isEmpty() && !m_failure))
        return;

    if (!saveBook())
        return;
    Q_EMIT checkpoint();
    if (m_failure) {
        const DavReply failure = *m_failure;
        return finish(
            failure.status, failure.error.isEmpty() ? QStringLiteral("HTTP %1").arg(failure.status) : failure.error);
    }
    if (m_conflict && ++m_pass < MaxPasses) {
        // The server holds versions this round has not seen: read them and
        // settle again.
        m_conflict = false;
        collect();
        m_fetch.run(m_link, [this](const CalDavChanges &changes) { onChanges(changes); });
        return;
    }
    m_link.lastSuccess = QDateTime::fromMSecsSinceEpoch(m_store.clock().nowMSecs(), Qt::UTC);
    finish();
}

void CalDavSync::onSent(const Outgoing &out, const DavReply &reply)
{
    const bool isDelete = out.body.isEmpty();
    if (reply.ok() || (isDelete && reply.status == 404)) {
        if (isDelete)
            m_link.items.remove(out.uid);
        else
            m_link.items.insert(out.uid, CalDavItem { out.href, reply.etag, out.entry.task, out.stamp });
        m_link.queue.settle(out.uid, out.entry);
        ++m_outcome.sent;
    } else if (reply.status == 412) {
        m_conflict = true;
    } else if (reply.status == 0 || reply.status == 401 || reply.status >= 500) {
        if (!m_failure)
            m_failure = reply;
    } else {
        m_link.queue.refuse(out.uid,
            reply.error.isEmpty() ? QStringLiteral("HTTP %1").arg(reply.status)
                                  : QStringLiteral("HTTP %1: %2").arg(reply.status).arg(reply.error));
    }
    sendMore();
}

bool CalDavSync::saveBook()
{
    QString error;
    m_saving = true;
    const bool saved = m_store.save(&error);
    m_saving = false;
    if (saved)
        return true;
    m_outgoing.clear();
    finish(-1, error);
    return false;
}

void CalDavSync::finish(int status, const QString &error)
{
    m_running = false;
    m_outgoing.clear();
    m_failure.reset();
    m_conflict = false;
    m_outcome.status = status;
    m_outcome.error = error;
    Q_EMIT finished(m_outcome);
}

} // namespace quillery
