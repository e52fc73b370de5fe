#pragma once

#include "CalDavLink.h"
#include "CalDavSync.h"
#include "DavClient.h"
#include "core/app/StatusLine.h"
#include "core/util/CalendarContext.h"

#include <QTimer>

#include <functional>
#include <memory>
#include <vector>

namespace quillery {

class Page;
class Store;

// When the links sync: soon after a save, every so often, and after a
// failure again after a pause that doubles up to a limit.
struct CalDavTiming {
    int afterSaveMs = 2'000;
    int pollMs = 60'000;
    int retryMinMs = 5'000;
    int retryMaxMs = 300'000;
};

// The pages of a book linked to task lists, and their syncing: reads the
// links beside the book, fetches each password from the secret store,
// runs a round when the book was saved, every so often and, after a
// failure, again after a pause that doubles up to a limit. It is the page
// menu's one line about the links. The platform backend is made on first
// use, through the factory, so nothing of the network or the secret store
// is loaded for a book with no links.
class CalDavLinks final : public StatusLine
{
    Q_OBJECT
public:
    using Timing = CalDavTiming;
    using BackendFactory = std::function<std::unique_ptr<CalDavBackend>()>;

    CalDavLinks(Store &store, BackendFactory factory, const CalendarContext &calendar = CalendarContext(),
        Timing timing = Timing {}, QObject *parent = nullptr);
    ~CalDavLinks() override;

    // Reads the links and starts syncing those whose password is found.
    void start();
    CalDavBackend &backend();

    // Links `page` to `list` (replacing a link it had), keeps the password
    // in the secret store and runs the first round. `done` gets an error
    // when the password could not be kept; the page is then not linked.
    void link(Page *page, const QString &server, const QString &user, const QString &password, const QUrl &list,
        const QString &listName, std::function<void(const QString &error)> done);
    void unlink(Page *page);
    std::optional<CalDavLink> linkOf(const Page *page) const;
    int linkCount() const { return int(m_sessions.size()); }

    // Runs a round for every link now (one under way runs again after it).
    void syncNow();
    // No round under way or due, and nothing queued.
    bool isSettled() const;

    QString text() const override;
    // Where the links are kept, beside the book.
    QString filePath() const { return m_file.path(); }

Q_SIGNALS:
    void roundFinished(const quillery::CalDavSync::Outcome &outcome);

private:
    struct Session;
    void open(std::unique_ptr<Session> session);
    void begin(Session &session, const QString &password);
    void runRound(Session &session);
    void onFinished(Session &session, const CalDavSync::Outcome &outcome);
    void save();
    static QString account(const CalDavLink &link);

    Store &m_store;
    BackendFactory m_factory;
    std::unique_ptr<CalDavBackend> m_backend;
    CalendarContext m_calendar;
    Timing m_timing;
    CalDavLinkFile m_file;
    bool m_fileUnreadable = false;
    std::vector<std::unique_ptr<Session>> m_sessions;
    QTimer m_afterSave;
    QTimer m_poll;
};

} // namespace quillery
