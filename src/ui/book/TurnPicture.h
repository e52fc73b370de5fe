#pragma once

#include "core/book/BookRules.h"

#include <QImage>
#include <QPixmap>
#include <QWidget>

#include <utility>

namespace quillery {
class Appearance;
} // namespace quillery

namespace quillery::ui {

// The book face while a page turns: the two pages involved, drawn from
// pictures taken when the turn began. The page with the higher index lies on
// top and slides in from the right, casting a shadow on the page beneath,
// which slides a little left and darkens. Each frame only blits the visible
// part of each picture, so a frame costs about one face of pixels whatever
// the pages hold.
class TurnPicture final : public QWidget
{
    Q_OBJECT
public:
    explicit TurnPicture(const Appearance &appearance, QWidget *parent = nullptr);

    // The pictures of the page shown when the turn began and of the page it
    // turns to (null where there is no page, such as before the first).
    void setPictures(const QPixmap &current, const QPixmap &target);
    // Stops drawing the pictures but keeps them, so that the next turn
    // can draw into them again (takeBuffers).
    void clear();
    std::pair<QPixmap, QPixmap> takeBuffers();
    bool hasPictures() const { return !m_current.isNull() || !m_target.isNull(); }

    void setTurn(Dir dir, double progress);
    Dir dir() const { return m_dir; }
    double progress() const { return m_progress; }

    const QPixmap &currentPicture() const { return m_current; }
    const QPixmap &targetPicture() const { return m_target; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    const QImage &shadowEdge(qreal ratio);

    const Appearance &m_appearance;
    QPixmap m_current;
    QPixmap m_target;
    QPixmap m_spareCurrent;
    QPixmap m_spareTarget;
    Dir m_dir = Dir::Forward;
    double m_progress = 0;
    QImage m_edge;
};

} // namespace quillery::ui
