#pragma once

#include <QPixmap>
#include <QPointer>
#include <QWidget>

class QAbstractButton;
class QLabel;
class QVariantAnimation;

namespace quillery {
class Book;
struct Services;
} // namespace quillery

namespace quillery::ui {

class ContentsGrid;
class ContentsCloseButton;

// The contents of the book, laid over the book view: the "All Pages" header
// with the page count and a close button, and below it the grid of page
// thumbnails ending in a "New page" cell. It fills its parent and follows
// its size. Choosing a page, adding one and closing go to the book; whoever
// shows this view hides or deletes it when the book's contents flag turns
// off (it may be deleted at any moment, also mid-transition).
//
// Each time it is shown it enters by growing from 97 % of its size while
// fading in, scrolled to the current page; leave() plays the same backwards.
class ContentsView final : public QWidget
{
    Q_OBJECT
public:
    ContentsView(Book &book, const Services &services, QWidget *parent = nullptr);
    ~ContentsView() override;

    ContentsGrid *grid() const { return m_grid; }
    QAbstractButton *closeButton() const;
    QLabel *titleLabel() const { return m_title; }
    QLabel *countLabel() const { return m_count; }

    // 0 while hidden, 1 once fully shown; in between during a transition.
    double shown() const { return m_shown; }
    bool isTransitioning() const { return m_transition != nullptr; }

    // Plays the leaving transition, then hides and emits left() (after the
    // event that finished it, so a receiver may delete this view).
    void leave();

Q_SIGNALS:
    // The entering transition is over.
    void entered();
    void left();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void closeContents();
    void updateCount();
    void applyScheme();
    void takeSnapshot();
    void transition(double to);
    void transitionDone();

    Book &m_book;
    QWidget *m_content;
    QLabel *m_title;
    QLabel *m_count;
    ContentsCloseButton *m_close;
    ContentsGrid *m_grid;
    QPixmap m_snapshot;
    double m_shown = 0;
    bool m_entered = false;
    bool m_leaving = false;
    QPointer<QVariantAnimation> m_transition;
};

} // namespace quillery::ui
