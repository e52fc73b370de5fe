#pragma once

#include "core/app/Services.h"
#include "core/model/TaskItem.h"
#include "core/theme/PageInsets.h"

#include <QList>
#include <QPixmap>
#include <QWidget>

namespace quillery {
class Book;
class Page;
class TaskItem;
} // namespace quillery

namespace quillery::ui {

class PageView;

// The live book face: the page view of the current page (or the two of a
// spread), each handed its actions, numbers, side and insets. Views are kept
// while their page stays on the face and reused when a turn lands on a page
// that was just drawn for it. While a page turns, the pages on the face are
// pictures (snapshots) and the stage can draw any position of the book as a
// picture: a page, or past the end the blank page a turn will create.
class PageStage final : public QWidget
{
    Q_OBJECT
public:
    PageStage(Book &book, const Services &services, QWidget *parent = nullptr);
    ~PageStage() override;

    // Shows the current position of the book, reusing what it can.
    void sync();

    // A position is a page index, or the left page's index of a spread.
    int position() const;
    int step() const;

    // During a turn the pages on the face are only pictures.
    void setTurning(bool turning);
    bool isTurning() const { return m_turning; }

    // The face at `position`, drawn at the stage's size and `ratio` device
    // pixels per point (into `reuse` when it fits); a null picture for
    // positions before the first page.
    QPixmap picture(int position, qreal ratio, QPixmap reuse = {});

    void setInsets(const PageInsets &insets);

    // The widgets on the face, one per page shown (a page or a blank page).
    QList<QWidget *> faces() const;
    // The page view showing the current page, if any.
    PageView *currentView() const;
    // Whether `widget` is plain paper of the face (not a control or a row).
    bool isPaper(const QWidget *widget) const;

Q_SIGNALS:
    void taskOpenRequested(quillery::TaskItem *task);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    QList<int> indicesAt(int position) const;
    QWidget *faceFor(int index, QList<QWidget *> &pool);
    QWidget *build(int index);
    void configure(QWidget *face, int index, int slot, bool snapshot);
    void placeFaces(const QList<QWidget *> &faces);
    bool isNeighbour(const QWidget *face) const;
    void discard(QWidget *face);

    Book &m_book;
    Services m_services;
    PageInsets m_insets;
    bool m_turning = false;
    QList<QWidget *> m_live; // slot order; null for an empty slot
    QList<QWidget *> m_spare; // drawn for a turn, not on the face
};

} // namespace quillery::ui
