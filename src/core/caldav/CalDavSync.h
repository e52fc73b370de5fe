#pragma once

#include "CalDavFetch.h"
#include "CalDavLink.h"
#include "CalDavMerge.h"
#include "DavClient.h"
#include "core/model/TypeRegistry.h"
#include "core/util/CalendarContext.h"

#include <QObject>
#include <QPointer>

namespace quillery {

class Page;
class Store;
class TaskItem;

// One round of keeping a linked page and its task list in step: note the
// page's own changes in the link's queue, read the server's changes, settle
// each task with CalDavMerge, take the server's versions into the book, and
// send the queued ones (PUT with If-Match, or If-None-Match for new ones;
// DELETE with If-Match). The book is saved before the link is, so a kill at
// any point leaves the link claiming no more than the book holds; what was
// sent but not yet recorded is recognised on the next round (the server
// answers 412 and holds the same version). A request the server turns down
// stays queued with the reason; one that gets no answer ends the round with
// everything still queued. `checkpoint` asks the owner to write the link.
class CalDavSync final : public QObject
{
    Q_OBJECT
public:
    struct Outcome {
        int status = 200; // of the request that ended the round; 0 for no answer, -1 for the book
        QString error; // empty for a round that ended well
        int received = 0;
        int sent = 0;
    };

    CalDavSync(Store &store, CalDavLink &link, DavClient &client, const CalendarContext &calendar = CalendarContext(),
        QObject *parent = nullptr);

    // Notes the page's changes since the last round in the queue; cheap
    // enough to run after every save.
    void collect();
    void run();
    bool isRunning() const { return m_running; }
    // The round is saving the book (what it took from the server).
    bool isSaving() const { return m_saving; }

Q_SIGNALS:
    void checkpoint();
    void finished(const quillery::CalDavSync::Outcome &outcome);

private:
    struct Outgoing {
        QString uid;
        CalDavQueue::Entry entry;
        QString href;
        QString etag; // If-Match; empty for If-None-Match: *
        qint64 stamp = 0;
        QByteArray body; // empty for DELETE
    };

    Page *page() const;
    qint64 stampOf(const TaskItem *task) const;
    void onChanges(const CalDavChanges &changes);
    void settle(const QString &uid, const CalDavChanges &changes, const QHash<QUuid, QString> &kept,
        QHash<QUuid, QString> &keptOut);
    void pull(const QString &uid, const QString &href, const CalDavChanges::Resource &resource, TaskItem *task,
        QHash<QUuid, QString> &keptOut);
    void queueSend(const QString &uid, bool remove, TaskItem *task, const QString &href, const QString &etag,
        const QHash<QUuid, QString> &kept);
    void sendMore();
    void onSent(const Outgoing &out, const DavReply &reply);
    bool saveBook();
    void finish(int status = 200, const QString &error = QString());

    Store &m_store;
    CalDavLink &m_link;
    DavClient &m_client;
    CalendarContext m_calendar;
    TypeRegistry m_types;
    CalDavFetch m_fetch;
    bool m_running = false;
    bool m_saving = false;
    int m_pass = 0;
    QList<Outgoing> m_outgoing;
    int m_inFlight = 0;
    bool m_conflict = false;
    std::optional<DavReply> m_failure;
    QHash<QString, QString> m_parentOf; // UID → UID of the task above it with a smaller indent
    QHash<QUuid, QString> m_uidOfTask;
    QHash<QString, QString> m_changedHref; // UID → href of the server's changed version
    QSet<QString> m_goneUids;
    double m_lastOrder = 0; // the order of the page's last task while a round takes new ones
    Outcome m_outcome;
};

} // namespace quillery
