#pragma once

#include "core/util/CalendarContext.h"

#include <QFutureWatcher>
#include <QObject>
#include <QPointer>
#include <QStringList>

#include <optional>

namespace quillery {

class Attachment;
class Store;
class TaskItem;
class TypeRegistry;

// Brings picked photos and files into a task as attachments, one at a time
// in the order they were picked. Reading a file (and, for a photo, turning it
// into a bounded JPEG) runs on a worker thread; the record is made on the
// main thread when that is done, then the next item starts.
//
// - A photo becomes "Photo <month day, hour:minute>.jpg" of the moment it is
//   stored, typed as JPEG. It is re-encoded at PhotoMaxPixel and
//   PhotoQuality, or kept as it was read when it cannot be re-encoded.
// - A file keeps its file name; its type comes from the name's extension
//   (public.data when the extension says nothing).
// - An item that cannot be read, is empty (photos only) or is larger than
//   MaxImportBytes is skipped with a line in the log; the others still come.
//
// There is one importer per task, owned by the task: it keeps going after
// the card that started it closes, and goes away with the task.
class AttachmentImporter final : public QObject
{
    Q_OBJECT
public:
    // Attachment bytes live in memory while they are edited and travel whole
    // to the mirror, so larger files are refused rather than read.
    static constexpr qint64 MaxImportBytes = 100LL * 1024 * 1024;

    // The task's importer, made on first use.
    // `types` names the files; it outlives the task.
    static AttachmentImporter *forTask(
        TaskItem *task, Store *store, const CalendarContext &calendar, const TypeRegistry &types);
    // The task's importer if it has one.
    static AttachmentImporter *existing(const TaskItem *task);

    // "Photo " + the locale's abbreviated month, day, hour and minute of
    // `moment` + ".jpg".
    static QString photoName(const CalendarContext &calendar, const QDateTime &moment);

    // Queues local files; each call's items follow the ones queued before.
    void importPhotos(const QStringList &paths);
    void importFiles(const QStringList &paths);

    bool isBusy() const { return m_current.has_value(); }

Q_SIGNALS:
    void imported(quillery::Attachment *attachment);
    void skipped(const QString &path);
    void busyChanged(bool busy);

private:
    enum class Kind { Photo, File };
    struct Item {
        Kind kind;
        QString path;
    };
    struct Loaded {
        std::optional<QByteArray> bytes;
        QString problem; // why there are no bytes
    };

    AttachmentImporter(TaskItem *task, Store *store, const CalendarContext &calendar, const TypeRegistry &types);
    void enqueue(Kind kind, const QStringList &paths);
    void startNext();
    void finishCurrent();
    static Loaded load(const Item &item);

    QPointer<Store> m_store;
    TaskItem *m_task;
    CalendarContext m_calendar;
    const TypeRegistry &m_types;
    QList<Item> m_queue;
    std::optional<Item> m_current;
    QFutureWatcher<Loaded> m_watcher;
};

} // namespace quillery
