#include "StoreRest.h"

#include "Store.h"
#include "core/util/Uuid.h"

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>
#include <sqlite3.h>

#include <QElapsedTimer>
#include <QFile>
#include <QLoggingCategory>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace quillery {

Q_DECLARE_LOGGING_CATEGORY(lcStore)

namespace {

// Reading in slices of about this long keeps the window drawing smoothly.
constexpr qint64 SliceMsecs = 5;
constexpr qsizetype RowsBetweenClockReads = 256;

StoreOpenError damageOf(const QString &path, int code, const QString &detail)
{
    StoreOpenError damage;
    damage.path = path;
    damage.reason = code == SQLITE_NOTADB ? StoreOpenError::Reason::NotADatabase
        : code == SQLITE_CORRUPT          ? StoreOpenError::Reason::Corrupt
                                          : StoreOpenError::Reason::Failed;
    damage.detail = detail;
    return damage;
}

} // namespace

StoreRest::Read StoreRest::readFirstPage(Store &store, SQLite::Database &db, const QString &firstPage)
{
    {
        StoreLoader pages(store, db, Record::Kind::Page);
        while (pages.read(4096)) { }
    }
    // The page the book opens on, as the book itself finds it: the id text
    // must match exactly, else the first page.
    const QList<Page *> &sorted = store.pages();
    Page *first = store.page(uuidFromString(firstPage));
    if (!first || uuidString(first->id()) != firstPage)
        first = sorted.isEmpty() ? nullptr : sorted.first();
    Read read;
    if (!first)
        return read;
    // Links are written as the plain id text; a brace form is read as well.
    const std::string id = uuidString(first->id()).toStdString();
    const std::vector<std::string> ids { id, '{' + id + '}' };
    StoreLoader tasks(store, db, Record::Kind::Task, "page_id IN (?1, ?2)", ids);
    while (tasks.read(4096, &read.tasks)) { }
    StoreLoader attachments(store, db, Record::Kind::Attachment,
        "task_id IN (SELECT id FROM task WHERE page_id IN (?1, ?2) AND id IS NOT NULL)", ids);
    while (attachments.read(4096, &read.attachments)) { }
    for (Page *page : sorted)
        page->m_tasksRead = page == first;
    return read;
}

StoreRest::StoreRest(Store &store, Read read)
    : m_store(store)
    , m_read(std::move(read))
{
    m_slices.setInterval(0);
    connect(&m_slices, &QTimer::timeout, this, [this] { readFor(SliceMsecs); });
}

void StoreRest::begin(const QString &path)
{
    m_path = path;
    m_db = std::make_unique<SQLite::Database>(
        QFile::encodeName(path).toStdString(), SQLite::OPEN_READONLY | SQLITE_OPEN_NOMUTEX);
    // One read transaction for the whole rest: the loaders' first reads fix
    // the book as it is now.
    m_db->exec("BEGIN");
    m_tasks = std::make_unique<StoreLoader>(m_store, *m_db, Record::Kind::Task);
    m_tasks->skip(std::exchange(m_read.tasks, {}));
    m_attachments = std::make_unique<StoreLoader>(m_store, *m_db, Record::Kind::Attachment);
    m_attachments->skip(std::exchange(m_read.attachments, {}));
    m_slices.start();
}

StoreRest::~StoreRest()
{
    m_stopping = true;
    {
        const std::lock_guard lock(m_checkMutex);
        if (m_checkDb)
            sqlite3_interrupt(m_checkDb);
    }
    if (m_check.joinable())
        m_check.join();
}

void StoreRest::finishReading()
{
    readFor(-1);
}

void StoreRest::finish()
{
    if (m_inRead)
        return;
    finishReading();
    if (m_checked)
        return;
    if (!m_check.joinable())
        startCheck();
    m_check.join();
    checked();
}

void StoreRest::readFor(qint64 msecs)
{
    if (!m_reading || m_inRead)
        return;
    m_inRead = true;
    QElapsedTimer clock;
    clock.start();
    try {
        for (;;) {
            if (!m_tasks->read(RowsBetweenClockReads) && !m_attachments->read(RowsBetweenClockReads))
                break;
            if (msecs >= 0 && clock.elapsed() >= msecs) {
                m_inRead = false;
                return;
            }
        }
    } catch (const SQLite::Exception &e) {
        m_inRead = false;
        failed(damageOf(m_path, e.getErrorCode(), QString::fromUtf8(e.what())));
        return;
    }
    m_inRead = false;
    m_reading = false;
    m_slices.stop();
    m_tasks.reset();
    m_attachments.reset();
    m_db.reset(); // ends the read transaction
    for (Page *page : std::as_const(m_store.m_pages))
        page->m_tasksRead = true;
    m_store.restRead();
    startCheck();
}

void StoreRest::failed(const StoreOpenError &damage)
{
    m_reading = false;
    m_slices.stop();
    m_tasks.reset();
    m_attachments.reset();
    m_db.reset();
    for (Page *page : std::as_const(m_store.m_pages))
        page->m_tasksRead = true;
    m_checkResult = damage;
    m_checked = true;
    m_store.restChecked(m_checkResult);
}

void StoreRest::startCheck()
{
    m_check = std::thread([this] {
        std::optional<StoreOpenError> damage;
        try {
            SQLite::Database db(QFile::encodeName(m_path).toStdString(), SQLite::OPEN_READONLY);
            {
                const std::lock_guard lock(m_checkMutex);
                m_checkDb = m_stopping ? nullptr : db.getHandle();
            }
            if (m_checkDb) {
                SQLite::Statement check(db, "PRAGMA quick_check(1)");
                if (check.executeStep() && check.getColumn(0).getString() != "ok")
                    damage = damageOf(m_path, SQLITE_CORRUPT,
                        QStringLiteral("integrity check: %1")
                            .arg(QString::fromStdString(check.getColumn(0).getString())));
            }
        } catch (const SQLite::Exception &e) {
            if (e.getErrorCode() != SQLITE_INTERRUPT)
                damage = damageOf(m_path, e.getErrorCode(), QString::fromUtf8(e.what()));
        }
        {
            const std::lock_guard lock(m_checkMutex);
            m_checkDb = nullptr;
        }
        m_checkResult = damage;
        if (!m_stopping)
            QMetaObject::invokeMethod(this, &StoreRest::checked, Qt::QueuedConnection);
    });
}

void StoreRest::checked()
{
    if (m_checked)
        return;
    if (m_check.joinable())
        m_check.join();
    m_checked = true;
    if (m_checkResult)
        qCWarning(lcStore) << "the book is damaged:" << m_checkResult->detail;
#ifdef __GLIBC__
    // Reading the book and checking it went through page caches and row
    // buffers, the check's on a thread (and so an allocator arena) of its
    // own. All of that is free now; handing it back to the system keeps it
    // from staying in the resident memory of a program that runs all day.
    malloc_trim(0);
#endif
    m_store.restChecked(m_checkResult);
}

} // namespace quillery
