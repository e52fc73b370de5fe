#pragma once

#include <QWidget>

class QAbstractButton;
class QLabel;

namespace quillery {
class Appearance;
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
// Each time it is shown it scrolls to the current page and takes the
// keyboard. How it comes and goes is up to whoever shows it (the book view
// grows it from 97 % of its size while fading it in).
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

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void closeContents();
    void updateCount();
    void applyScheme();

    Book &m_book;
    const Appearance &m_appearance;
    QWidget *m_content;
    QLabel *m_title;
    QLabel *m_count;
    ContentsCloseButton *m_close;
    ContentsGrid *m_grid;
};

} // namespace quillery::ui
