#include "Store.h"

#include "StoreLoader.h"
#include "StoreSchema.h"
#include "StoreWriter.h"

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>
#include <sqlite3.h>

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLoggingCategory>

#include <algorithm>

namespace quillery {

Q_LOGGING_CATEGORY(lcStore, "quillery.store")

namespace {

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

} // namespace

std::unique_ptr<Store> Store::open(const QString &path, StoreOpenError *error)
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
    if (!QDir().mkpath(info.absolutePath()))
        return fail(
            StoreOpenError::Reason::PermissionDenied, QStringLiteral("cannot create %1").arg(info.absolutePath()));
    const bool exists = info.exists();

    try {
        // The connection is only ever used from the main thread, so SQLite's own
        // locking is left out. One connection does everything, and nothing is written until the
        // file has been recognised as a sound book this version can use.
        // Closing it early only removes the log files it opened beside the
        // book; the book itself is not written.
        auto db = std::make_unique<SQLite::Database>(
            QFile::encodeName(path).toStdString(), SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE | SQLITE_OPEN_NOMUTEX);
        if (sqlite3_db_readonly(db->getHandle(), "main") == 1)
            return fail(StoreOpenError::Reason::PermissionDenied, QStringLiteral("the file is read-only"));
        db->setBusyTimeout(5000);

        std::unique_ptr<Store> store(new Store(path, nullptr));
        QString version;
        switch (StoreSchema::inspect(*db, &version)) {
        case StoreSchema::Check::Foreign:
            return fail(StoreOpenError::Reason::NotABook);
        case StoreSchema::Check::Newer:
            return fail(StoreOpenError::Reason::NewerSchema, QStringLiteral("version %1").arg(version));
        case StoreSchema::Check::Compatible:
            checkIntegrity(*db);
            StoreLoader::load(*store, *db);
            break;
        case StoreSchema::Check::Empty:
            break;
        }

        if (db->execAndGet("PRAGMA journal_mode = WAL").getString() != "wal")
            return fail(
                StoreOpenError::Reason::PermissionDenied, QStringLiteral("cannot keep a write-ahead log beside it"));
        db->exec("PRAGMA synchronous = NORMAL");
        if (StoreSchema::inspect(*db) == StoreSchema::Check::Empty)
            StoreSchema::create(*db);
        // Prove that writing works now rather than on the first save.
        db->exec("BEGIN IMMEDIATE; COMMIT;");

        store->m_db = std::move(db);
        store->m_writer = std::make_unique<StoreWriter>(*store->m_db);
        if (!store->m_dirty.isEmpty())
            store->scheduleAutosave();
        return store;
    } catch (const SQLite::Exception &e) {
        return fail(reasonFor(e, exists), QString::fromUtf8(e.what()));
    }
}

Store::Store(const QString &path, std::unique_ptr<SQLite::Database> db)
    : m_path(path)
    , m_db(std::move(db))
{
    m_autosave.setSingleShot(true);
    m_autosave.setInterval(400);
    connect(&m_autosave, &QTimer::timeout, this, [this] { save(); });
}

Store::~Store()
{
    if (m_db && hasUnsavedChanges())
        save();
    m_writer.reset();
    const auto records = m_pages.size() + m_tasks.size() + m_attachments.size();
    Q_UNUSED(records);
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
    if (!m_byId.contains(record->id()))
        m_byId.insert(record->id(), record);
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
            else if (task)
                task->m_attachments.removeOne(attachment);
            attachment->m_task = nullptr;
        }
    }
    for (Record *record : removed) {
        record->m_store = nullptr;
        record->deleteLater();
    }
}

qint64 Store::changeStamp(const Record *record)
{
    return std::max(QDateTime::currentMSecsSinceEpoch(), record->m_modified + 1);
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
    if (!m_autosave.isActive())
        m_autosave.start();
}

void Store::setAutosaveDelay(int msecs)
{
    m_autosave.setInterval(std::max(0, msecs));
}

bool Store::hasUnsavedChanges() const
{
    return !m_dirty.isEmpty() || !m_unsavedRemovals.isEmpty();
}

bool Store::save(QString *error)
{
    processPendingChanges();
    m_autosave.stop();
    if (!hasUnsavedChanges())
        return true;
    try {
        m_writer->write(m_dirty, m_unsavedRemovals);
    } catch (const SQLite::Exception &e) {
        const QString why = QString::fromUtf8(e.what());
        qCWarning(lcStore) << "save failed:" << why;
        if (error)
            *error = why;
        // Keep everything unsaved and try again later.
        m_autosave.start(std::max(m_autosave.interval(), 2000));
        Q_EMIT saveFailed(why);
        return false;
    }
    m_dirty.clear();
    m_unsavedRemovals.clear();
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
    Record *record = m_byId.value(id);
    return record && record->kind() == Record::Kind::Page ? static_cast<Page *>(record) : nullptr;
}

TaskItem *Store::task(const QUuid &id) const
{
    Record *record = m_byId.value(id);
    return record && record->kind() == Record::Kind::Task ? static_cast<TaskItem *>(record) : nullptr;
}

Attachment *Store::attachment(const QUuid &id) const
{
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
