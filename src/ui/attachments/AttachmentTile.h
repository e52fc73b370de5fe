#pragma once

#include "core/model/Attachment.h"
#include "core/model/RecordPointer.h"

#include <QPointer>
#include <QWidget>

#include <memory>

namespace quillery {
class Appearance;
struct Services;
class ThumbnailCache;
class TypeRegistry;
} // namespace quillery

namespace quillery::ui {

class ThumbView;

// One 76-point square of the attachment strip. An image shows its bitmap
// (decoded at TileMaxPixel, cropped to the rounded square); any other file
// shows the document symbol and its name on paper. A click, Return or Space
// activates it; its context menu (right click, the Menu key, Shift+F10) and
// the Delete key offer "Remove".
class AttachmentTile final : public QWidget
{
    Q_OBJECT
public:
    static constexpr int Side = 76;
    static constexpr qreal CornerRadius = 10;

    AttachmentTile(Attachment *attachment, const Services &services, QWidget *parent = nullptr);

    Attachment *attachment() const { return m_attachment; }
    bool showsImage() const { return m_thumb != nullptr; }
    ThumbView *thumbView() const { return m_thumb; }

    // Brings the tile in step with the record (name, type, bytes).
    void refresh();

    QSize sizeHint() const override { return { Side, Side }; }

Q_SIGNALS:
    void activated(quillery::Attachment *attachment);
    void removeRequested(quillery::Attachment *attachment);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void showMenu(const QPoint &globalPos);

    const Appearance &m_appearance;
    const TypeRegistry &m_types;
    std::shared_ptr<ThumbnailCache> m_thumbnails;
    RecordPointer<Attachment> m_attachment;
    ThumbView *m_thumb = nullptr;
    bool m_pressed = false;
    bool m_keyboardFocus = false; // the focus ring shows only then
};

} // namespace quillery::ui
