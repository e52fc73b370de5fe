#pragma once

#include <QPixmap>
#include <QPointer>
#include <QWidget>

class QVariantAnimation;

namespace quillery::ui {

class TaskCard;

// Presents a task card as a sheet inside a window: a child widget covering
// the host (dimming it and taking its clicks, wheel and keys) with the card
// centred on it, sliding up as it opens and fading away as it closes. Being
// part of the window rather than a window of its own, it looks and behaves
// the same under X11, Wayland and the offscreen platform.
//
// The sheet owns the card, follows the host's size, hands the keyboard to
// the card and back to where it was, and deletes itself once the card is
// dismissed.
class TaskCardSheet final : public QWidget
{
    Q_OBJECT
public:
    TaskCardSheet(TaskCard *card, QWidget *host);
    ~TaskCardSheet() override;

    TaskCard *card() const { return m_card; }
    // 0 (hidden) to 1 (fully shown).
    double presence() const { return m_presence; }

    // Where the card sits in a host of `size`: centred, 440 × 640 at most,
    // a margin kept from the host's edges when the host is smaller.
    static QRect cardGeometry(const QSize &size);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;

private:
    void fitHost();
    void placeCard();
    void animateTo(double presence);
    void takeDown();

    QPointer<QWidget> m_host;
    TaskCard *m_card;
    QPointer<QWidget> m_previousFocus;
    QPointer<QVariantAnimation> m_animation;
    double m_presence = 0;
    QPixmap m_picture; // the card as it was when dismissed
};

} // namespace quillery::ui
