#pragma once

#include "ThumbCache.h"
#include "core/book/ContentsLayout.h"

#include <QAbstractScrollArea>
#include <QAccessible>
#include <QHash>
#include <QPointer>

namespace quillery {
class Appearance;
class Book;
class Page;
class Preferences;
class Record;
class Store;
struct Services;
enum class Field;
} // namespace quillery

namespace quillery::ui {

// The scrolling grid of the contents: a thumbnail per page of the book and a
// last cell for a new page. Only the cells inside the viewport are drawn,
// from a small cache of thumbnail pictures, so a book of any length opens at
// once. A click or Return on a page chooses it, on the last cell adds a page;
// the arrow keys move a keyboard cursor through the cells. Each cell is an
// accessible button of its own.
class ContentsGrid final : public QAbstractScrollArea
{
    Q_OBJECT
public:
    ContentsGrid(Book &book, const Services &services, QWidget *parent = nullptr);
    ~ContentsGrid() override;

    // The cells for the current width: every page, then "New page".
    ContentsLayout cellLayout() const;
    int pageCount() const;
    int cellCount() const { return pageCount() + 1; }
    int newPageCell() const { return pageCount(); }
    // The cell of the book's current page (outlined in its colour).
    int currentPageCell() const;

    // The cell the keyboard is on; moving it scrolls it into view.
    int cursorCell() const { return m_cursor; }
    void setCursorCell(int index);

    // The cell in viewport coordinates.
    QRect cellRectInViewport(int index) const;
    int cellAtViewport(const QPoint &point) const;
    void scrollToCell(int index);
    // Puts the keyboard on the current page and scrolls to it.
    void revealCurrentPage();

    // Chooses the page at `index`, or adds a page for the last cell.
    void activate(int index);
    // The same once the current event is handled.
    void activateLater(int index);

    // What assistive technology reads for a cell.
    QString cellName(int index) const;
    QString cellDescription(int index) const;
    QAccessibleInterface *cellAccessible(int index);

    // The cells drawn by the last paint, and how many thumbnail pictures
    // were drawn so far (the rest came from the cache).
    ContentsLayout::Range lastPaintedCells() const { return m_lastPainted; }
    int thumbnailsDrawn() const { return m_cache.drawn(); }

Q_SIGNALS:
    void cursorMoved(int index);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    bool viewportEvent(QEvent *event) override;

private:
    void pagesChanged();
    void recordChanged(Record *record, Field field);
    void dropPicture(Page *page);
    void updateScrollBars();
    void updateCell(int index);
    void setPressed(int index);
    void dropAccessibleCells();
    void announceCursor();
    void paintCell(QPainter &painter, int index, const QRectF &rect);

    Book &m_book;
    const Appearance &m_appearance;
    Store *m_store;
    Preferences *m_preferences;
    ThumbCache m_cache;
    int m_cursor = 0;
    int m_pressed = -1;
    bool m_pressInside = false;
    bool m_keyboardUsed = false; // draws the cursor once the keyboard moved it
    bool m_revealPending = true; // scroll to the current page once sized
    ContentsLayout::Range m_lastPainted;
    QHash<int, QAccessible::Id> m_accessibleCells; // cell index to accessible id
};

} // namespace quillery::ui
