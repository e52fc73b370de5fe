#pragma once

#include "ui/book/BookView.h"

#include <QMainWindow>
#include <QPointer>

class QLabel;
class QToolBar;

namespace quillery {
class CommandBus;
class Preferences;
} // namespace quillery

namespace quillery::ui {

class BookMenu;

// The one window of the program: a book-shaped window named "Quillery" in
// the desktop's title bar (the book itself draws no title), the book 600 × 834 points when
// first opened, never smaller than 360 × 500, and held at the page
// proportions when the user resizes it where the window manager allows
// (X11); elsewhere the book keeps its proportions inside the window. Above
// the book: the menu bar with the Book menu and a toolbar with one button,
// All Pages. Dragging the paper in a way that turns no page moves the window.
class MainWindow final : public QMainWindow
{
    Q_OBJECT
public:
    static constexpr int DefaultWidth = 600;
    static constexpr int DefaultHeight = 834;
    static constexpr int MinimumWidth = 360;
    static constexpr int MinimumHeight = 500;

    explicit MainWindow(QWidget *parent = nullptr);

    // Puts the book in the window with the menu bar and the toolbar around
    // it, and sizes the window for it.
    void setBook(BookView *book, CommandBus &bus, Preferences &preferences);
    BookView *book() const { return m_book; }
    BookMenu *bookMenu() const { return m_bookMenu; }
    QToolBar *toolBar() const { return m_toolBar; }
    QAction *allPagesAction() const { return m_allPages; }

    // The window size that gives the book its default size below the menu
    // bar and the toolbar, shrunk at the page proportions to fit `available`
    // (the screen's free area) when that is smaller.
    QSize defaultSize(const QSize &available) const;

    // Shows the window in front, as when the user starts Quillery again.
    void bringToFront();

    // A notice across the window above the book, until it is set empty.
    void setNotice(const QString &text);
    QString notice() const;

Q_SIGNALS:
    // The window stopped being the active one (the desktop switched away).
    void deactivated();
    // The user chose Quit.
    void quitRequested();

protected:
    bool event(QEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    int chromeHeight() const;
    void keepProportions();

    QPointer<BookView> m_book;
    BookMenu *m_bookMenu = nullptr;
    QToolBar *m_toolBar = nullptr;
    QAction *m_allPages = nullptr;
    QToolBar *m_noticeBar = nullptr;
    QLabel *m_notice = nullptr;
    bool m_proportionsQueued = false;
};

} // namespace quillery::ui
