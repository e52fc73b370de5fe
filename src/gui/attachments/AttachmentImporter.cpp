#include "AttachmentImporter.h"

#include "ImageCodec.h"
#include "core/model/Store.h"
#include "core/model/TypeRegistry.h"

#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QtConcurrent/QtConcurrentRun>

namespace quillery {

Q_LOGGING_CATEGORY(lcImport, "quillery.attachments.import")

namespace {

constexpr qint64 ReadChunk = 1024 * 1024;

} // namespace

AttachmentImporter::AttachmentImporter(
    TaskItem *task, Store *store, const CalendarContext &calendar, const TypeRegistry &types)
    : QObject(task->notifier()) // lives as long as the task
    , m_store(store)
    , m_task(task)
    , m_calendar(calendar)
    , m_types(types)
{
    setObjectName(QStringLiteral("attachmentImporter"));
    connect(&m_watcher, &QFutureWatcher<Loaded>::finished, this, &AttachmentImporter::finishCurrent);
}

AttachmentImporter *AttachmentImporter::forTask(
    TaskItem *task, Store *store, const CalendarContext &calendar, const TypeRegistry &types)
{
    if (!task)
        return nullptr;
    if (AttachmentImporter *importer = existing(task))
        return importer;
    return new AttachmentImporter(task, store, calendar, types);
}

AttachmentImporter *AttachmentImporter::existing(const TaskItem *task)
{
    return task ? task->notifier()->findChild<AttachmentImporter *>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
}

QString AttachmentImporter::photoName(const CalendarContext &calendar, const QDateTime &moment)
{
    return QStringLiteral("Photo ") + calendar.format(moment, QStringLiteral("MMMdjmm")) + QStringLiteral(".jpg");
}

void AttachmentImporter::importPhotos(const QStringList &paths)
{
    enqueue(Kind::Photo, paths);
}

void AttachmentImporter::importFiles(const QStringList &paths)
{
    enqueue(Kind::File, paths);
}

void AttachmentImporter::enqueue(Kind kind, const QStringList &paths)
{
    for (const QString &path : paths)
        m_queue.append({ kind, path });
    if (!m_current)
        startNext();
}

void AttachmentImporter::startNext()
{
    const bool wasBusy = m_current.has_value();
    m_current.reset();
    if (!m_queue.isEmpty() && m_store && !m_task->isDeleted()) {
        m_current = m_queue.takeFirst();
        m_watcher.setFuture(QtConcurrent::run(&AttachmentImporter::load, *m_current));
    } else if (!m_queue.isEmpty()) {
        qCInfo(lcImport) << "task gone; dropped" << m_queue.size() << "picked items";
        m_queue.clear();
    }
    if (wasBusy != m_current.has_value())
        Q_EMIT busyChanged(m_current.has_value());
}

AttachmentImporter::Loaded AttachmentImporter::load(const Item &item)
{
    QFile file(item.path);
    if (QFileInfo(item.path).isDir())
        return { std::nullopt, QStringLiteral("is a folder") };
    if (!file.open(QIODevice::ReadOnly))
        return { std::nullopt, file.errorString() };
    if (file.size() > MaxImportBytes)
        return { std::nullopt, QStringLiteral("larger than %1 bytes").arg(MaxImportBytes) };

    // Read in chunks and stop at the limit: the size reported beforehand is
    // not binding (special files, files that grow while read).
    QByteArray bytes;
    bytes.reserve(std::min<qint64>(file.size(), MaxImportBytes));
    while (!file.atEnd()) {
        const QByteArray chunk = file.read(ReadChunk);
        if (chunk.isEmpty()) {
            if (file.error() != QFileDevice::NoError)
                return { std::nullopt, file.errorString() };
            break;
        }
        if (bytes.size() + chunk.size() > MaxImportBytes)
            return { std::nullopt, QStringLiteral("larger than %1 bytes").arg(MaxImportBytes) };
        bytes.append(chunk);
    }

    if (item.kind == Kind::File)
        return { std::move(bytes), {} };
    if (bytes.isEmpty())
        return { std::nullopt, QStringLiteral("no data") };
    if (std::optional<QByteArray> jpeg = reencodeJPEG(bytes, PhotoMaxPixel, PhotoQuality))
        return { std::move(jpeg), {} };
    qCInfo(lcImport) << "photo kept as picked; it could not be re-encoded";
    return { std::move(bytes), {} };
}

void AttachmentImporter::finishCurrent()
{
    if (!m_current)
        return;
    const Item item = *m_current;
    Loaded loaded = m_watcher.result();

    if (!loaded.bytes) {
        qCWarning(lcImport).noquote() << (item.kind == Kind::Photo ? "photo" : "file") << "skipped:" << loaded.problem;
        Q_EMIT skipped(item.path);
    } else if (m_store && !m_task->isDeleted()) {
        const bool photo = item.kind == Kind::Photo;
        const QString name = photo ? photoName(m_calendar, m_calendar.now()) : QFileInfo(item.path).fileName();
        const QString type = photo ? TypeRegistry::jpeg() : m_types.dataTypeForFileName(name);
        auto *attachment = new Attachment(name, type, std::move(loaded.bytes));
        m_store->insert(attachment);
        attachment->setTask(m_task);
        Q_EMIT imported(attachment);
    }
    startNext();
}

} // namespace quillery
