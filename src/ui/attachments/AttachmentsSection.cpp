#include "AttachmentsSection.h"

#include "AddAttachmentButton.h"
#include "AttachmentPicker.h"
#include "AttachmentTile.h"
#include "ImageViewer.h"
#include "core/attachments/AttachmentOpener.h"
#include "core/model/Store.h"
#include "core/model/TaskItem.h"
#include "core/model/TypeRegistry.h"
#include "gui/attachments/AttachmentImporter.h"
#include "ui/theme/FloatingScrollBar.h"

#include <QHBoxLayout>
#include <QScrollArea>
#include <QTimer>
#include <QVBoxLayout>

namespace quillery::ui {

namespace {

constexpr int SectionSpacing = 8;
constexpr int TileSpacing = 10;
constexpr int StripInset = 2;
constexpr int ButtonSpacing = 8;

} // namespace

AttachmentsSection::AttachmentsSection(
    TaskItem *task, const Services &services, AttachmentPicker &picker, AttachmentOpener &opener, QWidget *parent)
    : QWidget(parent)
    , m_task(task)
    , m_services(services)
    , m_picker(picker)
    , m_opener(opener)
    , m_strip(new QScrollArea(this))
    , m_stripContent(new QWidget)
    , m_tileRow(new QHBoxLayout(m_stripContent))
    , m_photo(
          new AddAttachmentButton(QStringLiteral("photo.on.rectangle.angled"), tr("Photo"), *services.appearance, this))
    , m_file(new AddAttachmentButton(QStringLiteral("paperclip"), tr("File"), *services.appearance, this))
{
    setObjectName(QStringLiteral("attachmentsSection"));
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(SectionSpacing);

    m_tileRow->setContentsMargins(0, StripInset, 0, StripInset);
    m_tileRow->setSpacing(TileSpacing);
    m_tileRow->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_strip->setObjectName(QStringLiteral("attachmentStrip"));
    m_strip->setAccessibleName(tr("Photos & Files"));
    m_strip->setWidget(m_stripContent);
    m_strip->setWidgetResizable(true);
    m_strip->setFrameShape(QFrame::NoFrame);
    m_strip->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_strip->setFocusPolicy(Qt::NoFocus);
    // The card's paper shows through (the scroll area fills the widget it
    // is given, so this comes after setWidget).
    m_strip->setAutoFillBackground(false);
    m_strip->viewport()->setAutoFillBackground(false);
    m_stripContent->setAutoFillBackground(false);
    new FloatingScrollBar(Qt::Horizontal, m_strip, m_strip);
    m_strip->setFixedHeight(AttachmentTile::Side + 2 * StripInset);
    column->addWidget(m_strip);

    auto *buttons = new QHBoxLayout;
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->setSpacing(ButtonSpacing);
    m_photo->setObjectName(QStringLiteral("addPhoto"));
    m_file->setObjectName(QStringLiteral("addFile"));
    buttons->addWidget(m_photo, 0, Qt::AlignVCenter);
    buttons->addWidget(m_file, 0, Qt::AlignVCenter);
    buttons->addStretch(1);
    column->addLayout(buttons);

    connect(m_photo, &QAbstractButton::clicked, this, &AttachmentsSection::addPhotos);
    connect(m_file, &QAbstractButton::clicked, this, &AttachmentsSection::addFiles);

    if (m_task) {
        connect(m_task->notifier(), &TaskNotifier::attachmentsChanged, this, &AttachmentsSection::scheduleRebuild);
        if (Store *store = m_services.store) {
            connect(store, &Store::recordRemoved, this, [this](Record *record) {
                if (record->kind() == Record::Kind::Attachment && m_tiles.contains(static_cast<Attachment *>(record)))
                    scheduleRebuild();
            });
            connect(store, &Store::recordChanged, this, &AttachmentsSection::recordChanged);
        }
        watchImporter();
    }
    rebuild();
}

AttachmentsSection::~AttachmentsSection()
{
    if (m_viewer)
        m_viewer->deleteLater();
}

QList<AttachmentTile *> AttachmentsSection::tiles() const
{
    QList<AttachmentTile *> ordered;
    for (int i = 0; i < m_tileRow->count(); ++i) {
        if (auto *tile = qobject_cast<AttachmentTile *>(m_tileRow->itemAt(i)->widget()))
            ordered.append(tile);
    }
    return ordered;
}

bool AttachmentsSection::isImporting() const
{
    const AttachmentImporter *importer = AttachmentImporter::existing(m_task);
    return importer && importer->isBusy();
}

void AttachmentsSection::watchImporter()
{
    AttachmentImporter *importer = AttachmentImporter::existing(m_task);
    if (!importer)
        return;
    connect(
        importer, &AttachmentImporter::busyChanged, this, &AttachmentsSection::importingChanged, Qt::UniqueConnection);
}

void AttachmentsSection::addPhotos()
{
    QPointer<AttachmentsSection> self(this);
    m_picker.pickPhotos(this, [self](const QStringList &paths) {
        if (!self || !self->m_task || !self->m_services.store)
            return;
        AttachmentImporter::forTask(
            self->m_task, self->m_services.store, self->m_services.calendar, *self->m_services.types)
            ->importPhotos(paths);
        self->watchImporter();
    });
}

void AttachmentsSection::addFiles()
{
    QPointer<AttachmentsSection> self(this);
    m_picker.pickFiles(this, [self](const QStringList &paths) {
        if (!self || !self->m_task || !self->m_services.store)
            return;
        AttachmentImporter::forTask(
            self->m_task, self->m_services.store, self->m_services.calendar, *self->m_services.types)
            ->importFiles(paths);
        self->watchImporter();
    });
}

void AttachmentsSection::open(Attachment *attachment)
{
    if (!attachment || attachment->isDeleted())
        return;
    if (m_services.types->isImage(attachment->typeIdentifier())) {
        if (m_viewer)
            m_viewer->close();
        m_viewer = new ImageViewer(attachment, m_services.thumbnails, window());
        m_viewer->setAttribute(Qt::WA_DeleteOnClose);
        m_viewer->setWindowModality(Qt::WindowModal);
        m_viewer->show();
        return;
    }
    m_opener.open(*attachment);
}

void AttachmentsSection::remove(Attachment *attachment)
{
    if (!attachment || attachment->isDeleted() || !attachment->store())
        return;
    attachment->store()->remove(attachment);
}

void AttachmentsSection::recordChanged(Record *record, Field field)
{
    if (record->kind() != Record::Kind::Attachment)
        return;
    AttachmentTile *tile = m_tiles.value(static_cast<Attachment *>(record));
    if (!tile)
        return;
    // A move to another task or a new creation time reshapes the strip;
    // anything else changes only the tile.
    if (field == Field::TaskLink || field == Field::Created)
        scheduleRebuild();
    else
        tile->refresh();
}

void AttachmentsSection::scheduleRebuild()
{
    if (m_rebuildQueued)
        return;
    m_rebuildQueued = true;
    QTimer::singleShot(0, this, [this] {
        m_rebuildQueued = false;
        rebuild();
    });
}

void AttachmentsSection::rebuild()
{
    const QList<Attachment *> attachments = m_task ? m_task->sortedAttachments() : QList<Attachment *>();

    // Tiles of attachments that stay are kept, so their bitmaps are not
    // decoded again.
    QHash<Attachment *, AttachmentTile *> kept;
    for (Attachment *attachment : attachments) {
        AttachmentTile *tile = m_tiles.take(attachment);
        if (!tile) {
            tile = new AttachmentTile(attachment, m_services, m_stripContent);
            connect(tile, &AttachmentTile::activated, this, &AttachmentsSection::open);
            connect(tile, &AttachmentTile::removeRequested, this, &AttachmentsSection::remove);
        }
        kept.insert(attachment, tile);
    }
    for (AttachmentTile *gone : std::as_const(m_tiles))
        delete gone;
    m_tiles = kept;

    while (m_tileRow->count() > 0)
        delete m_tileRow->takeAt(0);
    for (Attachment *attachment : attachments) {
        AttachmentTile *tile = m_tiles.value(attachment);
        m_tileRow->addWidget(tile);
        tile->show();
    }
    m_tileRow->addStretch(1);
    m_strip->setVisible(!attachments.isEmpty());
    Q_EMIT tilesChanged();
}

} // namespace quillery::ui
