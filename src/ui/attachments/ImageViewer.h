#pragma once

#include "core/model/Attachment.h"
#include "core/model/RecordPointer.h"

#include <QAbstractButton>
#include <QDialog>
#include <QPointer>

#include <memory>

namespace quillery {
class ThumbnailCache;
}

namespace quillery::ui {

class ThumbView;

// The full-window view of an image attachment: the picture decoded at
// ViewerMaxPixel and fitted on black, with a close button in the top
// trailing corner. Escape closes it too, and so does the attachment going
// away (removed here or on another device).
class ImageViewer final : public QDialog
{
    Q_OBJECT
public:
    static constexpr int MinimumWidth = 520;
    static constexpr int MinimumHeight = 480;

    ImageViewer(Attachment *attachment, std::shared_ptr<ThumbnailCache> thumbnails, QWidget *parent = nullptr);

    Attachment *attachment() const { return m_attachment; }
    ThumbView *thumbView() const { return m_thumb; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void placeCloseButton();

    RecordPointer<Attachment> m_attachment;
    ThumbView *m_thumb;
    QAbstractButton *m_close;
};

} // namespace quillery::ui
