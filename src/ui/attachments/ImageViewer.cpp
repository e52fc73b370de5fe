#include "ImageViewer.h"

#include "ThumbView.h"
#include "ViewerCloseButton.h"
#include "core/model/Attachment.h"
#include "core/model/Store.h"
#include "gui/attachments/ImageCodec.h"

#include <QPainter>
#include <QScreen>

namespace quillery::ui {

namespace {

constexpr int CloseInset = 16;

} // namespace

ImageViewer::ImageViewer(Attachment *attachment, std::shared_ptr<ThumbnailCache> thumbnails, QWidget *parent)
    : QDialog(parent)
    , m_attachment(attachment)
    , m_thumb(new ThumbView(std::move(thumbnails), ViewerMaxPixel, this))
    , m_close(new ViewerCloseButton(this))
{
    setObjectName(QStringLiteral("imageViewer"));
    setWindowTitle(attachment ? attachment->name() : QString());
    setAccessibleName(tr("Image viewer"));
    setMinimumSize(MinimumWidth, MinimumHeight);
    // A generous share of the screen; the picture is fitted inside.
    QSize size(960, 720);
    if (const QScreen *screen = parent ? parent->screen() : this->screen())
        size = size.boundedTo(screen->availableSize() * 0.9);
    resize(size.expandedTo(minimumSize()));

    m_thumb->setScaling(ThumbView::Scaling::Fit);
    // Black and nothing else while there is no picture.
    m_thumb->setPlaceholderVisible(false);
    m_thumb->lower();
    connect(m_close, &QAbstractButton::clicked, this, &QDialog::reject);

    if (attachment) {
        m_thumb->setData(attachment->data());
        connect(attachment->notifier(), &AttachmentNotifier::dataChanged, this, [this] {
            if (m_attachment)
                m_thumb->setData(m_attachment->data());
        });
        connect(attachment->notifier(), &QObject::destroyed, this, &QDialog::reject);
        if (Store *store = attachment->store()) {
            connect(store, &Store::recordRemoved, this, [this](Record *record) {
                if (record == m_attachment)
                    reject();
            });
        }
    }
}

void ImageViewer::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
}

void ImageViewer::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    m_thumb->setGeometry(rect());
    placeCloseButton();
}

void ImageViewer::placeCloseButton()
{
    const int x = layoutDirection() == Qt::RightToLeft ? CloseInset : width() - CloseInset - m_close->width();
    m_close->move(x, CloseInset);
    m_close->raise();
}

} // namespace quillery::ui
