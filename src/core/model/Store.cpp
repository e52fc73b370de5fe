#include "Store.h"

#include "StoreLoader.h"
#include "StoreMigration.h"
#include "StoreRest.h"
#include "StoreSchema.h"
#include "StoreWriter.h"

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>
#include <sqlite3.h>

#include "core/util/PrivateFiles.h"
#include "core/util/Uuid.h"

#include <QDir>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QUrl>

#include <algorithm>
#include <cerrno>

namespace quillery {

Q_LOGGING_CATEGORY(lcStore, "quillery.store")

namespace {

// Removed records on their way out: destroyed with this object.
class RecordRelease final : public QObject
{
public:
    RecordRelease(QList<Record *> records, QObject *parent)
        : QObject(parent)
        , m_records(std::move(records))
    { }
    ~RecordRelease() override { qDeleteAll(m_records); }

private:
    QList<Record *> m_records;
};

StoreOpenError::Reason reasonFor(const SQLite::Exception &e, bool fileExists)
{
    switch (e.getErrorCode()) {
    case SQLITE_NOTADB:
        return StoreOpenError::Reason::NotADatabase;
    case SQLITE_CORRUPT:
        return StoreOpenError::Reason::Corrupt;
    case SQLITE_PERM:
    case SQLITE_READONLY:
    case SQLITE_AUTH:
        return StoreOpenError::Reason::PermissionDenied;
    case SQLITE_CANTOPEN:
        return fileExists ? StoreOpenError::Reason::PermissionDenied : StoreOpenError::Reason::Failed;
    default:
        return StoreOpenError::Reason::Failed;
    }
}

void checkIntegrity(SQLite::Database &db)
{
    SQLite::Statement check(db, "PRAGMA quick_check(1)");
    if (check.executeStep()) {
        const std::string result = check.getColumn(0).getString();
        if (result != "ok")
            throw SQLite::Exception("integrity check: " + result, SQLITE_CORRUPT);
    }
}

// Removes the index file that inspecting a book with a write-ahead log makes
// beside it, unless it was there before or the book is being kept open.
class ShmCleanup
{
public:
    explicit ShmCleanup(const QString &bookPath)
        : m_path(bookPath + QStringLiteral("-shm"))
        , m_existed(QFileInfo::exists(m_path))
    { }
    ~ShmCleanup()
    {
        if (!m_keep && !m_existed)
            QFile::remove(m_path);
    }
    void keep() { m_keep = true; }

private:
    QString m_path;
    bool m_existed;
    bool m_keep = false;
};

} // namespace

bool Store::inspect(Store &store, StoreOpenError &failure, const QString *firstPage)
{
    // A book with a write-ahead log is read through it, read-only: SQLite
    // then writes neither the book nor the log (closing a writable
    // connection would copy the log into the book and delete it). Without a
    // log the file alone is the book, and nothing beside it is created.
    const QString path = store.m_path;
    const bool hasLog = QFileInfo(path + QStringLiteral("-wal")).size() > 0;
    std::string name = QFile::encodeName(path).toStdString();
    int flags = SQLite::OPEN_READONLY | SQLITE_OPEN_NOMUTEX;
    if (!hasLog) {
        name = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toString(QUrl::FullyEncoded).toStdString()
            + "?immutable=1";
        flags |= SQLITE_OPEN_URI;
    }
    SQLite::Database db(name, flags);
    QString version;
    switch (StoreSchema::inspect(db, &version)) {
    case StoreSchema::Check::Foreign:
        failure.reason = StoreOpenError::Reason::NotABook;
        return false;
    case StoreSchema::Check::Newer:
        failure.reason = StoreOpenError::Reason::NewerSchema;
        failure.detail = QStringLiteral("version %1").arg(version);
        return false;
    case StoreSchema::Check::Compatible:
        if (firstPage) {
            // The rest is read, and the file checked, once the page is shown.
            store.m_rest = std::make_unique<StoreRest>(store, StoreRest::readFirstPage(store, db, *firstPage));
            return true;
        }
        checkIntegrity(db);
        StoreLoader::load(store, db);
        return true;
    case StoreSchema::Check::Empty:
        return true;
    }
    return true;
}

std::unique_ptr<Store> Store::open(const QString &path, StoreOpenError *error, const Clock &clock)
{
    return open(path, nullptr, error, clock);
}

std::unique_ptr<Store> Store::openPageFirst(
    const QString &path, const QString &firstPage, StoreOpenError *error, const Clock &clock)
{
    return open(path, &firstPage, error, clock);
}

std::unique_ptr<Store> Store::open(
    const QString &path, const QString *firstPage, StoreOpenError *error, const Clock &clock)
{
    StoreOpenError failure;
    failure.path = path;
    const auto fail = [&](StoreOpenError::Reason reason, const QString &detail = QString()) {
        failure.reason = reason;
        failure.detail = detail;
        if (error)
            *error = failure;
        return std::unique_ptr<Store>();
    };

    const QFileInfo info(path);
    if (info.isDir())
        return fail(StoreOpenError::Reason::IsDirectory);
    QString why;
    if (!PrivateFiles::makeDirectory(info.absolutePath(), &why))
        return fail(StoreOpenError::Reason::PermissionDenied, why);
    const bool exists = info.exists();
    // A new book is private from its first byte; SQLite gives its log and
    // index the same mode.
    if (!exists && !PrivateFiles::makeFile(path, &why))
        return fail(StoreOpenError::Reason::PermissionDenied, why);

    ShmCleanup shm(path);
    try {
        std::unique_ptr<Store> store(new Store(path, clock));
        if (exists && !inspect(*store, failure, firstPage)) {
            if (error)
                *error = failure;
            return nullptr;
        }

        // Accepted: now the one connection that writes. It is only ever used
        // from the main thread, so SQLite's own locking is left out.
        auto db = std::make_unique<SQLite::Database>(
            QFile::encodeName(path).toStdString(), SQLite::OPEN_READWRITE | SQLITE_OPEN_NOMUTEX);
        if (sqlite3_db_readonly(db->getHandle(), "main") == 1)
            return fail(StoreOpenError::Reason::PermissionDenied, QStringLiteral("the file is read-only"));
        db->setBusyTimeout(5000);
        if (db->execAndGet("PRAGMA journal_mode = WAL").getString() != "wal")
            return fail(
                StoreOpenError::Reason::PermissionDenied, QStringLiteral("cannot keep a write-ahead log beside it"));
        db->exec("PRAGMA synchronous = NORMAL");
        if (StoreSchema::inspect(*db) == StoreSchema::Check::Empty)
            StoreSchema::create(*db);
        else
            StoreMigration::upgrade(*db, path);
        // Prove that writing works now rather than on the first save.
        db->exec("BEGIN IMMEDIATE; COMMIT;");

        shm.keep();
        store->m_db = std::move(db);
        store->m_writer = std::make_unique<StoreWriter>(*store->m_db);
        if (store->m_rest)
            store->m_rest->begin(path);
        if (!store->m_dirty.isEmpty())
            store->scheduleAutosave();
        return store;
    } catch (const SQLite::Exception &e) {
        return fail(reasonFor(e, exists), QString::fromUtf8(e.what()));
    }
}

Store::Store(const QString &path, const Clock &clock)
    : m_path(path)
    , m_clock(&clock)
{
    m_autosave.setSingleShot(true);
    m_autosave.setInterval(400);
    connect(&m_autosave, &QTimer::timeout, this, &Store::autosave);
    m_retry.setSingleShot(true);
    connect(&m_retry, &QTimer::timeout, this, &Store::autosave);
}

Store::~Store()
{
    if (m_db && hasUnsavedChanges())
        save();
    m_rest.reset();
    m_writer.reset();
    // Children first, so that no record points at a destroyed one.
    qDeleteAll(m_attachments);
    qDeleteAll(m_tasks);
    qDeleteAll(m_pages);
    qDeleteAll(m_removed);
}

void Store::adopt(Record *record)
{
    record->m_store = this;
    switch (record->kind()) {
    case Record::Kind::Page:
        m_pages.append(static_cast<Page *>(record));
        m_sortedPagesValid = false;
        break;
    case Record::Kind::Task:
        m_tasks.append(static_cast<TaskItem *>(record));
        break;
    case Record::Kind::Attachment:
        m_attachments.append(static_cast<Attachment *>(record));
        break;
    }
    // One look-up: the first record with an id keeps it.
    Record *&byId = m_byId[record->id()];
    if (!byId)
        byId = record;
}

void Store::reserve(Record::Kind kind, qsizetype count)
{
    m_byId.reserve(m_byId.size() + count);
    switch (kind) {
    case Record::Kind::Page:
        m_pages.reserve(m_pages.size() + count);
        break;
    case Record::Kind::Task:
        m_tasks.reserve(m_tasks.size() + count);
        break;
    case Record::Kind::Attachment:
        m_attachments.reserve(m_attachments.size() + count);
        break;
    }
}

void Store::insert(Record *record)
{
    if (!record || record->m_store)
        return;
    // A second live record with the same id could never be written (ids are
    // unique in the file), so the newcomer gets an id of its own.
    if (m_byId.contains(record->id())) {
        qCWarning(lcStore) << "inserted record had an id already in use; given a new one";
        record->m_id = QUuid::createUuid();
    }
    if (!record->m_createdGiven)
        record->m_created = m_clock->nowMSecs();
    record->m_modified = changeStamp(record);
    record->m_pending = true;
    adopt(record);
    markDirty(record);
    if (record->kind() == Record::Kind::Attachment)
        static_cast<Attachment *>(record)->m_dataDirty = true;
    Q_EMIT recordInserted(record);
    if (record->kind() == Record::Kind::Page)
        Q_EMIT pagesChanged();
    else if (record->kind() == Record::Kind::Task)
        Q_EMIT tasksChanged();
}

bool Store::restore(Record *record)
{
    if (!record || record->m_store || m_byId.contains(record->id()))
        return false;
    // The latest recorded deletion of the id, saved or not.
    qint64 deleted = 0;
    for (const StoreRemoval &removal : std::as_const(m_unsavedRemovals)) {
        if (removal.id == record->id())
            deleted = std::max(deleted, removal.when);
    }
    if (m_db) {
        try {
            SQLite::Statement find(*m_db, "SELECT deleted FROM tombstone WHERE id = ?1");
            find.bind(1, uuidString(record->id()).toStdString());
            if (find.executeStep())
                deleted = std::max<qint64>(deleted, find.getColumn(0).getInt64());
        } catch (const SQLite::Exception &e) {
            qCWarning(lcStore) << "cannot read the deletion of a restored record:" << e.what();
        }
    }
    record->m_createdGiven = true;
    record->m_modified = deleted;
    insert(record);
    return true;
}

void Store::collectCascade(Record *record, QList<Record *> &out) const
{
    out.append(record);
    if (record->kind() == Record::Kind::Page) {
        for (TaskItem *task : static_cast<Page *>(record)->tasks()) {
            if (!task->isDeleted())
                collectCascade(task, out);
        }
    } else if (record->kind() == Record::Kind::Task) {
        for (Attachment *attachment : static_cast<TaskItem *>(record)->attachments()) {
            if (!attachment->isDeleted())
                out.append(attachment);
        }
    }
}

void Store::remove(Record *record)
{
    if (!record || record->m_store != this || record->m_deleted)
        return;
    QList<Record *> cascade;
    collectCascade(record, cascade);
    bool pagesTouched = false;
    bool tasksTouched = false;
    for (Record *gone : std::as_const(cascade)) {
        gone->m_deleted = true;
        if (gone->m_dirty) {
            m_dirty.removeOne(gone);
            gone->m_dirty = false;
        }
        switch (gone->kind()) {
        case Record::Kind::Page:
            m_pages.removeOne(static_cast<Page *>(gone));
            m_sortedPagesValid = false;
            pagesTouched = true;
            break;
        case Record::Kind::Task:
            m_tasks.removeOne(static_cast<TaskItem *>(gone));
            tasksTouched = true;
            break;
        case Record::Kind::Attachment:
            m_attachments.removeOne(static_cast<Attachment *>(gone));
            break;
        }
        if (m_byId.value(gone->id()) == gone)
            m_byId.remove(gone->id());
        m_unsavedRemovals.append({ gone->kind(), gone->m_rowId, gone->id(), changeStamp(gone) });
        m_removed.append(gone);
    }
    for (Record *gone : std::as_const(cascade))
        Q_EMIT recordRemoved(gone);
    if (pagesTouched)
        Q_EMIT pagesChanged();
    if (tasksTouched)
        Q_EMIT tasksChanged();
    schedulePendingChanges();
    scheduleAutosave();
}

void Store::schedulePendingChanges()
{
    if (m_pendingChangesQueued)
        return;
    m_pendingChangesQueued = true;
    QMetaObject::invokeMethod(this, &Store::processPendingChanges, Qt::QueuedConnection);
}

void Store::processPendingChanges()
{
    m_pendingChangesQueued = false;
    if (m_removed.isEmpty())
        return;
    const QList<Record *> removed = std::exchange(m_removed, {});
    for (Record *record : removed) {
        // Leave the relationships quietly where the other side is gone too,
        // and with a signal where it is still alive.
        if (record->kind() == Record::Kind::Task) {
            auto *task = static_cast<TaskItem *>(record);
            if (Page *page = task->page(); page && !page->isDeleted())
                page->detachTask(task);
            else if (page)
                page->m_tasks.removeOne(task);
            task->m_page = nullptr;
        } else if (record->kind() == Record::Kind::Attachment) {
            auto *attachment = static_cast<Attachment *>(record);
            if (TaskItem *task = attachment->task(); task && !task->isDeleted())
                task->detachAttachment(attachment);
            else if (task && task->m_extra)
                task->m_extra->attachments.removeOne(attachment);
            attachment->m_task = nullptr;
        }
    }
    for (Record *record : removed)
        record->m_store = nullptr;
    // Destroyed when the event loop next gets control at this level, as a
    // QObject's deleteLater() would, since whoever removed them may still be
    // holding them further up the stack.
    (new RecordRelease(removed, this))->deleteLater();
}

qint64 Store::changeStamp(const Record *record) const
{
    return std::max(m_clock->nowMSecs(), record->m_modified + 1);
}

void Store::recordWillChange(Record *record, Field field)
{
    if (!record->m_deleted)
        Q_EMIT recordAboutToChange(record, field);
}

void Store::recordDidChange(Record *record, Field field)
{
    if (record->m_deleted)
        return;
    record->m_modified = changeStamp(record);
    record->m_pending = true;
    markDirty(record);
    if (field == Field::Id) {
        // Links are stored by id: the records that point here are rewritten.
        if (record->kind() == Record::Kind::Page) {
            for (TaskItem *task : static_cast<Page *>(record)->tasks())
                markDirty(task);
        } else if (record->kind() == Record::Kind::Task) {
            for (Attachment *attachment : static_cast<TaskItem *>(record)->attachments())
                markDirty(attachment);
        }
        m_byId.remove(m_byId.key(record));
        m_byId.insert(record->id(), record);
    }
    if (record->kind() == Record::Kind::Page && (field == Field::Position || field == Field::Created)) {
        m_sortedPagesValid = false;
        Q_EMIT pagesChanged();
    }
    Q_EMIT recordChanged(record, field);
}

void Store::markDirty(Record *record)
{
    if (!record->m_dirty && !record->m_deleted) {
        record->m_dirty = true;
        m_dirty.append(record);
    }
    scheduleAutosave();
}

void Store::scheduleAutosave()
{
    // After a failed save the next attempt is already set, later each time:
    // a full disk is not hammered on every keystroke.
    if (!m_autosave.isActive() && !m_retry.isActive())
        m_autosave.start();
}

void Store::setAutosaveDelay(int msecs)
{
    m_autosave.setInterval(std::max(0, msecs));
}

void Store::setRetryDelays(int firstMsecs, int longestMsecs)
{
    m_firstRetryMsecs = std::max(1, firstMsecs);
    m_longestRetryMsecs = std::max(m_firstRetryMsecs, longestMsecs);
}

bool Store::hasUnsavedChanges() const
{
    return !m_dirty.isEmpty() || !m_unsavedRemovals.isEmpty();
}

int Store::unsavedChangeCount() const
{
    return int(m_dirty.size() + m_unsavedRemovals.size());
}

bool Store::isLoading() const
{
    return m_rest && m_rest->isReading();
}

void Store::finishLoading() const
{
    if (m_rest && m_rest->isReading())
        m_rest->finishReading();
}

void Store::restRead()
{
    // Heard on the event loop: the rest may have been read from inside a
    // getter, in the middle of somebody's loop.
    QMetaObject::invokeMethod(
        this,
        [this] {
            Q_EMIT loaded();
            Q_EMIT tasksChanged();
        },
        Qt::QueuedConnection);
}

void Store::restChecked(const std::optional<StoreOpenError> &damage)
{
    if (damage) {
        m_damage = damage;
        m_autosave.stop();
        m_retry.stop();
        m_saveError = damage->message();
        Q_EMIT damaged(*damage);
        return;
    }
    if (std::exchange(m_saveWhenChecked, false) || hasUnsavedChanges())
        scheduleAutosave();
}

void Store::autosave()
{
    // Nothing is written to a book opened page first before it proved sound.
    if (m_rest && !m_rest->isChecked()) {
        m_saveWhenChecked = true;
        return;
    }
    save();
}

bool Store::save(QString *error)
{
    if (m_rest)
        m_rest->finish();
    if (m_damage) {
        m_autosave.stop();
        m_retry.stop();
        if (error)
            *error = m_damage->message();
        return false;
    }
    processPendingChanges();
    m_autosave.stop();
    m_retry.stop();
    if (!hasUnsavedChanges()) {
        if (m_failedSaves > 0) {
            m_failedSaves = 0;
            m_saveError.clear();
            m_diskFull = false;
            Q_EMIT saved();
        }
        return true;
    }
    try {
        m_writer->write(m_dirty, m_unsavedRemovals);
    } catch (const SQLite::Exception &e) {
        const QString why = QString::fromUtf8(e.what());
        const int code = e.getErrorCode();
        const int system = sqlite3_system_errno(m_db->getHandle());
        qCWarning(lcStore) << "save failed:" << why;
        if (error)
            *error = why;
        // Everything stays unsaved and is tried again later, waiting twice
        // as long after each failure in a row.
        ++m_failedSaves;
        m_saveError = why;
        m_diskFull = code == SQLITE_FULL || system == ENOSPC || system == EDQUOT;
        const int shift = std::min(m_failedSaves - 1, 16);
        m_retry.start(int(std::min<qint64>(qint64(m_firstRetryMsecs) << shift, m_longestRetryMsecs)));
        Q_EMIT saveFailed(why);
        return false;
    }
    m_dirty.clear();
    m_unsavedRemovals.clear();
    m_failedSaves = 0;
    m_saveError.clear();
    m_diskFull = false;
    Q_EMIT saved();
    return true;
}

const QList<Page *> &Store::pages() const
{
    if (!m_sortedPagesValid) {
        m_sortedPages = m_pages;
        std::stable_sort(m_sortedPages.begin(), m_sortedPages.end(), [](const Page *a, const Page *b) {
            if (a->position() != b->position())
                return a->position() < b->position();
            return a->createdMSecs() < b->createdMSecs();
        });
        m_sortedPagesValid = true;
    }
    return m_sortedPages;
}

Page *Store::page(const QUuid &id) const
{
    // Pages are all read before a book opened page first is handed out.
    Record *record = m_byId.value(id);
    return record && record->kind() == Record::Kind::Page ? static_cast<Page *>(record) : nullptr;
}

TaskItem *Store::task(const QUuid &id) const
{
    finishLoading();
    Record *record = m_byId.value(id);
    return record && record->kind() == Record::Kind::Task ? static_cast<TaskItem *>(record) : nullptr;
}

Attachment *Store::attachment(const QUuid &id) const
{
    finishLoading();
    Record *record = m_byId.value(id);
    return record && record->kind() == Record::Kind::Attachment ? static_cast<Attachment *>(record) : nullptr;
}

std::optional<QByteArray> Store::loadAttachmentData(const Attachment *attachment) const
{
    if (!m_db || attachment->m_rowId == 0)
        return std::nullopt;
    try {
        SQLite::Statement read(*m_db, "SELECT bytes FROM attachment_data WHERE attachment = ?1");
        read.bind(1, static_cast<int64_t>(attachment->m_rowId));
        if (!read.executeStep())
            return std::nullopt;
        const SQLite::Column bytes = read.getColumn(0);
        return QByteArray(static_cast<const char *>(bytes.getBlob()), bytes.getBytes());
    } catch (const SQLite::Exception &e) {
        qCWarning(lcStore) << "cannot read attachment bytes:" << e.what();
        return std::nullopt;
    }
}

} // namespace quillery
