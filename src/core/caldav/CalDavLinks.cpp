#include "CalDavLinks.h"

#include "core/model/Page.h"
#include "core/model/Store.h"
#include "core/sync/RelativeTime.h"
#include "core/util/Uuid.h"

#include <QLoggingCategory>
#include <QPointer>

#include <algorithm>

namespace quillery {

Q_LOGGING_CATEGORY(lcCalDav, "quillery.caldav")

struct CalDavLinks::Session {
    CalDavLink link;
    // The client goes before the round that uses it: its requests under
    // way are answered (as failed) while the round still listens.
    std::unique_ptr<CalDavSync> sync;
    std::unique_ptr<DavClient> client;
    QTimer retry;
    int failures = 0;
    bool again = false; // a round was asked for while one ran
    QString problem; // the last failure in the user's words
    bool waitingForPassword = true;

    ~Session() { stop(); }
    // Requests under way are answered as cancelled while the round still
    // exists, but nobody hears of the round ending.
    void stop()
    {
        if (sync)
            sync->blockSignals(true);
        client.reset();
        sync.reset();
    }
};

CalDavLinks::CalDavLinks(
    Store &store, BackendFactory factory, const CalendarContext &calendar, Timing timing, QObject *parent)
    : StatusLine(parent)
    , m_store(store)
    , m_factory(std::move(factory))
    , m_calendar(calendar)
    , m_timing(timing)
    , m_file(CalDavLinkFile::besideBook(store.path()))
{
    m_afterSave.setSingleShot(true);
    m_afterSave.setInterval(m_timing.afterSaveMs);
    connect(&m_afterSave, &QTimer::timeout, this, [this] {
        for (const auto &session : m_sessions) {
            if (!session->sync || session->sync->isRunning())
                continue;
            session->sync->collect();
            if (!session->link.queue.isEmpty())
                runRound(*session);
        }
    });
    m_poll.setInterval(m_timing.pollMs);
    connect(&m_poll, &QTimer::timeout, this, &CalDavLinks::syncNow);
    // A round saves the book itself; only other saves may hold new edits.
    connect(&m_store, &Store::saved, this, [this] {
        for (const auto &session : m_sessions) {
            if (session->sync && session->sync->isSaving())
                return;
            if (session->sync && session->sync->isRunning())
                session->again = true;
        }
        if (!m_sessions.empty())
            m_afterSave.start();
    });
}

CalDavLinks::~CalDavLinks()
{
    // Rounds cut short save the book once more; nothing here listens then.
    disconnect(&m_store, nullptr, this, nullptr);
    m_sessions.clear();
}

CalDavBackend &CalDavLinks::backend()
{
    if (!m_backend)
        m_backend = m_factory();
    return *m_backend;
}

QString CalDavLinks::account(const CalDavLink &link)
{
    return link.user + u'@' + QUrl(link.collection).host();
}

void CalDavLinks::start()
{
    QList<CalDavLink> links;
    QString error;
    if (!m_file.load(links, &error)) {
        // Left as it is: a later save would drop every link in it.
        m_fileUnreadable = true;
        return;
    }
    for (const CalDavLink &link : std::as_const(links)) {
        auto session = std::make_unique<Session>();
        session->link = link;
        open(std::move(session));
    }
    if (!m_sessions.empty())
        m_poll.start();
}

void CalDavLinks::open(std::unique_ptr<Session> owned)
{
    Session &session = *owned;
    m_sessions.push_back(std::move(owned));
    session.retry.setSingleShot(true);
    connect(&session.retry, &QTimer::timeout, this, [this, &session] { runRound(session); });
    const QUuid page = session.link.page;
    backend().readPassword(account(session.link),
        [this, guard = QPointer<CalDavLinks>(this), page](const QString &password, const QString &error) {
            if (!guard)
                return;
            const auto found = std::find_if(m_sessions.begin(), m_sessions.end(),
                [&](const std::unique_ptr<Session> &candidate) { return candidate->link.page == page; });
            if (found == m_sessions.end())
                return;
            if (password.isEmpty()) {
                (*found)->problem = error.isEmpty() ? tr("no password in the secret store") : error;
                Q_EMIT changed();
                return;
            }
            begin(**found, password);
        });
}

void CalDavLinks::begin(Session &session, const QString &password)
{
    session.waitingForPassword = false;
    session.stop();
    session.client = backend().client(session.link.user, password);
    session.sync = std::make_unique<CalDavSync>(m_store, session.link, *session.client, m_calendar);
    connect(session.sync.get(), &CalDavSync::checkpoint, this, &CalDavLinks::save);
    connect(session.sync.get(), &CalDavSync::finished, this,
        [this, &session](const CalDavSync::Outcome &outcome) { onFinished(session, outcome); });
    runRound(session);
}

void CalDavLinks::link(Page *page, const QString &server, const QString &user, const QString &password,
    const QUrl &list, const QString &listName, std::function<void(const QString &error)> done)
{
    CalDavLink link;
    link.page = page->id();
    link.server = server;
    link.user = user;
    link.collection = list.toString(QUrl::FullyEncoded);
    link.listName = listName;
    backend().writePassword(account(link), password,
        [this, guard = QPointer<CalDavLinks>(this), link, password, done = std::move(done)](const QString &error) {
            if (!guard)
                return;
            if (!error.isEmpty())
                return done(error);
            unlink(m_store.page(link.page));
            auto session = std::make_unique<Session>();
            session->link = link;
            Session &opened = *session;
            m_sessions.push_back(std::move(session));
            opened.retry.setSingleShot(true);
            connect(&opened.retry, &QTimer::timeout, this, [this, &opened] { runRound(opened); });
            save();
            m_poll.start();
            begin(opened, password);
            done(QString());
        });
}

void CalDavLinks::unlink(Page *page)
{
    if (!page)
        return;
    // Taken out of the list before they end: ending saves the book, and
    // whoever hears of that walks the list.
    std::vector<std::unique_ptr<Session>> leaving;
    for (auto it = m_sessions.begin(); it != m_sessions.end();) {
        if ((*it)->link.page == page->id()) {
            leaving.push_back(std::move(*it));
            it = m_sessions.erase(it);
        } else {
            ++it;
        }
    }
    if (leaving.empty())
        return;
    leaving.clear();
    save();
    Q_EMIT changed();
}

std::optional<CalDavLink> CalDavLinks::linkOf(const Page *page) const
{
    for (const auto &session : m_sessions) {
        if (page && session->link.page == page->id())
            return session->link;
    }
    return std::nullopt;
}

void CalDavLinks::syncNow()
{
    for (const auto &session : m_sessions)
        runRound(*session);
}

void CalDavLinks::runRound(Session &session)
{
    if (!session.sync)
        return;
    if (session.sync->isRunning()) {
        session.again = true;
        return;
    }
    session.retry.stop();
    session.again = false;
    session.sync->run();
    Q_EMIT changed();
}

void CalDavLinks::onFinished(Session &session, const CalDavSync::Outcome &outcome)
{
    save();
    // One line per round and page for the log: what went each way, what the
    // server turned down and what ended the round.
    qCInfo(lcCalDav).noquote() << "page" << uuidString(session.link.page) << "list" << session.link.listName
                               << "received" << outcome.received << "sent" << outcome.sent << "refused"
                               << session.link.queue.refusedCount() << "waiting" << session.link.queue.size()
                               << (outcome.error.isEmpty() ? QStringLiteral("ok") : outcome.error);
    if (outcome.error.isEmpty()) {
        session.failures = 0;
        session.problem.clear();
    } else {
        ++session.failures;
        if (outcome.status == 401)
            session.problem = tr("the server did not accept the sign-in");
        else if (outcome.status == 0)
            session.problem = tr("server unreachable");
        else if (outcome.status == -1)
            session.problem = outcome.error;
        else
            session.problem = tr("server error (%1)").arg(outcome.error);
        const qint64 pause
            = std::min<qint64>(qint64(m_timing.retryMinMs) << std::min(session.failures - 1, 16), m_timing.retryMaxMs);
        session.retry.start(int(pause));
    }
    Q_EMIT roundFinished(outcome);
    Q_EMIT changed();
    if (session.again)
        runRound(session);
}

void CalDavLinks::save()
{
    if (m_fileUnreadable)
        return;
    QList<CalDavLink> links;
    for (const auto &session : m_sessions)
        links.append(session->link);
    m_file.save(links);
}

bool CalDavLinks::isSettled() const
{
    return std::all_of(m_sessions.begin(), m_sessions.end(), [](const std::unique_ptr<Session> &session) {
        return session->sync && !session->sync->isRunning() && !session->again && session->link.queue.isEmpty()
            && session->problem.isEmpty();
    });
}

QString CalDavLinks::text() const
{
    if (m_sessions.empty())
        return m_fileUnreadable ? tr("Task lists: the link file cannot be read") : QString();
    const Session *shown = m_sessions.front().get();
    for (const auto &session : m_sessions) {
        if (!session->problem.isEmpty() || session->link.queue.refusedCount() > 0) {
            shown = session.get();
            break;
        }
    }
    const QString name = shown->link.listName.isEmpty() ? tr("Task list") : shown->link.listName;
    const int waiting = shown->link.queue.size();
    if (!shown->problem.isEmpty()) {
        if (waiting > 0)
            return tr("“%1”: %2, %3 waiting to be sent").arg(name, shown->problem, QString::number(waiting));
        return tr("“%1”: %2").arg(name, shown->problem);
    }
    if (const int refused = shown->link.queue.refusedCount())
        return tr("“%1”: %2 turned down by the server").arg(name, QString::number(refused));
    if (shown->sync && shown->sync->isRunning())
        return tr("“%1”: syncing…").arg(name);
    if (shown->waitingForPassword)
        return tr("“%1”: waiting for the secret store").arg(name);
    if (!shown->link.lastSuccess.isValid())
        return tr("“%1”: not synced yet").arg(name);
    return tr("“%1”: synced %2").arg(name, relativeTime(shown->link.lastSuccess, m_calendar));
}

} // namespace quillery
