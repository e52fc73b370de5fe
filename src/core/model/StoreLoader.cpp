#include "StoreLoader.h"

#include "Store.h"

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>

namespace quillery {

namespace {

QString textOf(const SQLite::Column &column)
{
    if (column.isNull())
        return {};
    return QString::fromUtf8(column.getText(), column.getBytes());
}

QUuid uuidOf(const SQLite::Column &column)
{
    if (column.isNull())
        return {};
    return QUuid::fromString(QLatin1StringView(column.getText(), column.getBytes()));
}

std::optional<qint64> msecsOf(const SQLite::Column &column)
{
    if (column.isNull())
        return std::nullopt;
    return column.getInt64();
}

std::optional<double> doubleOf(const SQLite::Column &column)
{
    if (column.isNull())
        return std::nullopt;
    return column.getDouble();
}

} // namespace

// Fills the fields every record shares and reports whether the row needs to
// be written back (it had no usable id).
bool StoreLoader::loadCommon(Record &record, SQLite::Statement &row, int rowIdColumn, int idColumn, int createdColumn,
    int modifiedColumn, int pendingColumn, qint64 now, qint64 &rowId, qint64 &modified, bool &pending)
{
    rowId = row.getColumn(rowIdColumn).getInt64();
    bool rewrite = false;
    QUuid id = uuidOf(row.getColumn(idColumn));
    if (id.isNull()) {
        id = QUuid::createUuid();
        rewrite = true;
    }
    record.m_id = id;
    record.m_created = msecsOf(row.getColumn(createdColumn)).value_or(now);
    modified = msecsOf(row.getColumn(modifiedColumn)).value_or(0);
    const SQLite::Column pendingValue = row.getColumn(pendingColumn);
    pending = pendingValue.isNull() ? true : pendingValue.getInt() != 0;
    return rewrite;
}

void StoreLoader::load(Store &store, SQLite::Database &db)
{
    const qint64 now = store.clock().nowMSecs();
    QHash<QUuid, Page *> pagesById;
    QHash<QUuid, TaskItem *> tasksById;

    const auto finish = [&](Record *record, qint64 rowId, qint64 modified, bool pending, bool rewrite) {
        record->m_rowId = rowId;
        record->m_modified = modified;
        record->m_pending = pending;
        store.adopt(record);
        if (rewrite)
            store.markDirty(record);
    };

    // Fields are filled directly: nobody observes a record before the store
    // adopts it, and a book of 100,000 tasks has no time for a signal per field.
    SQLite::Statement pages(db, "SELECT rowid, id, position, title, color_index, created, modified, pending FROM page");
    while (pages.executeStep()) {
        auto *page = new Page(Record::LoadTag {});
        qint64 rowId = 0, modified = 0;
        bool pending = true;
        const bool rewrite = loadCommon(*page, pages, 0, 1, 5, 6, 7, now, rowId, modified, pending);
        page->m_position = doubleOf(pages.getColumn(2)).value_or(0);
        page->m_title = textOf(pages.getColumn(3));
        page->m_colorIndex = pages.getColumn(4).isNull() ? 0 : pages.getColumn(4).getInt();
        pagesById.insert(page->id(), page);
        finish(page, rowId, modified, pending, rewrite);
    }

    SQLite::Statement tasks(db,
        "SELECT rowid, id, text, done, sort_order, created, due, alarm, notes, place_name, "
        "place_address, latitude, longitude, indent, page_id, modified, pending FROM task");
    while (tasks.executeStep()) {
        auto *task = new TaskItem(Record::LoadTag {});
        qint64 rowId = 0, modified = 0;
        bool pending = true;
        const bool rewrite = loadCommon(*task, tasks, 0, 1, 5, 15, 16, now, rowId, modified, pending);
        task->m_text = textOf(tasks.getColumn(2));
        task->m_done = !tasks.getColumn(3).isNull() && tasks.getColumn(3).getInt() != 0;
        task->m_order = doubleOf(tasks.getColumn(4)).value_or(0);
        task->m_due = msecsOf(tasks.getColumn(6));
        task->m_alarm = msecsOf(tasks.getColumn(7));
        task->m_notes = textOf(tasks.getColumn(8));
        task->m_placeName = textOf(tasks.getColumn(9));
        task->m_placeAddress = textOf(tasks.getColumn(10));
        task->m_latitude = doubleOf(tasks.getColumn(11));
        task->m_longitude = doubleOf(tasks.getColumn(12));
        task->m_indent = tasks.getColumn(13).isNull() ? 0 : tasks.getColumn(13).getInt();
        if (const QUuid pageId = uuidOf(tasks.getColumn(14)); !pageId.isNull()) {
            if (Page *page = pagesById.value(pageId)) {
                task->m_page = page;
                page->m_tasks.append(task);
            }
        }
        tasksById.insert(task->id(), task);
        finish(task, rowId, modified, pending, rewrite);
    }

    SQLite::Statement attachments(db,
        "SELECT rowid, id, name, type_identifier, created, data_size, task_id, "
        "modified, pending FROM attachment");
    while (attachments.executeStep()) {
        auto *attachment = new Attachment(Record::LoadTag {});
        qint64 rowId = 0, modified = 0;
        bool pending = true;
        const bool rewrite = loadCommon(*attachment, attachments, 0, 1, 4, 7, 8, now, rowId, modified, pending);
        attachment->m_name = textOf(attachments.getColumn(2));
        attachment->m_typeIdentifier = textOf(attachments.getColumn(3));
        attachment->m_dataSize = msecsOf(attachments.getColumn(5));
        attachment->m_data.reset();
        attachment->m_dataLoaded = false;
        attachment->m_dataDirty = false;
        if (const QUuid taskId = uuidOf(attachments.getColumn(6)); !taskId.isNull()) {
            if (TaskItem *task = tasksById.value(taskId)) {
                attachment->m_task = task;
                task->m_attachments.append(attachment);
            }
        }
        finish(attachment, rowId, modified, pending, rewrite);
    }
}

} // namespace quillery
