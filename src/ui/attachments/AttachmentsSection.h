#pragma once

#include "core/app/Services.h"
#include "core/model/Field.h"
#include "core/model/RecordPointer.h"
#include "core/model/TaskItem.h"
#include "ui/attachments/ImageViewer.h"

#include <QHash>
#include <QPointer>
#include <QWidget>

class QHBoxLayout;
class QScrollArea;

namespace quillery {
class AttachmentOpener;
} // namespace quillery

namespace quillery::ui {

class AddAttachmentButton;
class AttachmentPicker;
class AttachmentTile;

// The body of the task card's "Photos & Files" section: the strip of tiles
// (oldest first, shown only when the task has attachments) above the
// "Photo" and "File" buttons. Photos and files picked there are imported
// into the task; a photo tile opens the image viewer, a file tile opens the
// file in the desktop's default application, and "Remove" deletes one.
class AttachmentsSection final : public QWidget
{
    Q_OBJECT
public:
    // The picker asks for photos and files, the opener opens a file tile
    // (the desktop's dialogs and default applications in the program).
    // Neither is owned; both must outlive the section.
    AttachmentsSection(TaskItem *task, const Services &services, AttachmentPicker &picker, AttachmentOpener &opener,
        QWidget *parent = nullptr);
    ~AttachmentsSection() override;

    TaskItem *task() const { return m_task; }
    QList<AttachmentTile *> tiles() const;
    // The image viewer while it is open.
    ImageViewer *viewer() const { return m_viewer; }
    // Whether picked items are still being imported.
    bool isImporting() const;

    // What the buttons and tiles do, callable directly.
    void addPhotos();
    void addFiles();
    void open(Attachment *attachment);
    void remove(Attachment *attachment);

Q_SIGNALS:
    // The tiles were rebuilt or changed (a record came, went or changed).
    void tilesChanged();
    void importingChanged(bool importing);

private:
    void rebuild();
    void scheduleRebuild();
    void watchImporter();
    void recordChanged(Record *record, Field field);

    RecordPointer<TaskItem> m_task;
    Services m_services;
    AttachmentPicker &m_picker;
    AttachmentOpener &m_opener;
    QScrollArea *m_strip;
    QWidget *m_stripContent;
    QHBoxLayout *m_tileRow;
    AddAttachmentButton *m_photo;
    AddAttachmentButton *m_file;
    QHash<Attachment *, AttachmentTile *> m_tiles;
    QPointer<ImageViewer> m_viewer;
    bool m_rebuildQueued = false;
};

} // namespace quillery::ui
