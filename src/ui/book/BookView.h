#pragma once

#include "core/app/Services.h"
#include "core/book/Book.h"
#include "core/model/TaskItem.h"

#include <QPointer>
#include <QWidget>
#include <QWindow>

#include <functional>
#include <memory>

#include <QMessageBox>

namespace quillery {
class CommandBus;
class Editing;
class TaskItem;
} // namespace quillery

namespace quillery::ui {

class PageStage;
class PageView;
class TurnGesture;
class TurnPicture;

// The root view of the window: the book lying on the desk. It owns the
// book's navigation state (and with it the one Editing state of the window),
// shows the current page at the page proportions in the middle of the desk,
// turns pages by keys, commands, drags and touchpad swipes with the two
// pages drawn as pictures while they move, opens the contents over the book,
// and tells the user when notifications are off. The window's activation
// reaches the book (alarms are brought in step; empty tasks are cleared when
// the window stops being active).
class BookView final : public QWidget
{
    Q_OBJECT
public:
    // Makes the contents overlay for the book, as a child of the given
    // parent that fills it and closes itself through the book.
    using ContentsFactory = std::function<QWidget *(Book &, QWidget *)>;

    explicit BookView(const Services &services, QWidget *parent = nullptr);
    BookView(const Services &services, Book::Timing timing, QWidget *parent = nullptr);
    ~BookView() override;

    Book &book() const { return *m_book; }
    const Services &services() const { return m_services; }
    Editing &editing() const;

    // The book obeys the commands posted on `bus` for as long as both live.
    void listenTo(CommandBus &bus);
    void setContentsFactory(ContentsFactory factory);

    // Where the book face lies in this view.
    QRect faceRect() const { return m_faceRect; }

    // Parts, for the window and for tests.
    PageStage *stage() const { return m_stage; }
    PageView *currentPageView() const;
    TurnPicture *turnPicture() const { return m_picture; }
    // The contents overlay while it is shown (or closing).
    QWidget *contentsOverlay() const { return m_overlay; }
    QMessageBox *deniedAlert() const { return m_deniedAlert; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

Q_SIGNALS:
    // The user asked for a task's card.
    void taskOpenRequested(quillery::TaskItem *task);
    // The paper or the desk is being dragged in a way that does not turn a
    // page: the window should follow the pointer.
    void windowMoveRequested();

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void layoutFace();
    void turnChanged();
    void beginTurnPictures();
    void endTurnPictures();
    void contentsShownChanged();
    void showDeniedAlert();
    void keepFocus();
    void watchWindow();
    std::optional<Book::Key> bookKey(const QKeyEvent *event) const;

    Services m_services;
    std::unique_ptr<Book> m_book;
    PageStage *m_stage = nullptr;
    TurnPicture *m_picture = nullptr;
    TurnGesture *m_gesture = nullptr;
    ContentsFactory m_contentsFactory;
    QPointer<QWidget> m_overlay;
    QPointer<QWidget> m_overlayMotion;
    QPointer<QMessageBox> m_deniedAlert;
    QPointer<QWindow> m_window;
    QRect m_faceRect;
    bool m_turnShown = false;
};

} // namespace quillery::ui
