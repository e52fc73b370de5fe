#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointF>
#include <QPointer>
#include <QTimer>
#include <QWindow>

#include <functional>

class QMouseEvent;
class QWheelEvent;
class QWidget;

namespace quillery {
class Book;
}

namespace quillery::ui {

// Turns pointer drags and two-finger touchpad swipes on the book face into
// the book's drag decisions. It watches the window's input before any widget
// sees it: a drag that turns the page takes the pointer from the page (the
// widget pressed gets a release far outside itself, so no button clicks and
// no row opens), while drags the book does not want pass through untouched.
// Dragging the plain paper vertically, or anything from the top strip or the
// desk around the book, asks for the window to be moved instead.
class TurnGesture final : public QObject
{
    Q_OBJECT
public:
    // Where a press landed, as the book view sees it.
    enum class Place {
        Elsewhere, // not the book face (the contents, a text field, other windows' chrome)
        Face, // a control or row on the face: drags may turn the page
        Paper, // the plain paper: drags turn the page, or move the window when vertical
        TopStrip, // the top edge of the paper: drags move the window
        Desk, // the desk around the book: drags move the window
    };
    using Locate = std::function<Place(QWidget *target, const QPoint &viewPos)>;

    // Points a drag travels before the book hears of it.
    static constexpr double MinimumTravel = 12;
    // How far ahead the end of a drag is predicted from its speed.
    static constexpr double PredictionSeconds = 0.25;
    // A touchpad that reports no gesture phases has ended a swipe after
    // this long without movement.
    static constexpr int SwipeIdleMsecs = 150;

    TurnGesture(Book &book, QWidget *view, Locate locate, QObject *parent = nullptr);
    ~TurnGesture() override;

    // Watches the input of `window` (the book view's window).
    void attach(QWindow *window);
    QWindow *window() const { return m_window; }

    // Ends a drag whose release will not come (the window lost the
    // pointer): a turn it drives completes or springs back as if let go.
    void interrupt();

    // The width of the face that a drag turns.
    void setFaceWidth(double width) { m_faceWidth = width; }

Q_SIGNALS:
    // The user drags the window by its paper or desk.
    void windowMoveRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    enum class State { Idle, Tracking, Turning, Moving };

    // Recent horizontal positions, for the speed at the end of a drag.
    class Speed
    {
    public:
        void reset();
        void add(qint64 msecs, double x);
        // Points per second over the last moments; 0 when the drag rested.
        double at(qint64 msecs) const;

    private:
        struct Sample {
            qint64 msecs;
            double x;
        };
        Sample m_samples[6] {};
        int m_count = 0;
        int m_next = 0;
    };

    Place locate(const QPointF &windowPos) const;
    bool mousePressed(QMouseEvent *event);
    bool mouseMoved(QMouseEvent *event);
    bool mouseReleased(QMouseEvent *event);
    bool wheel(QWheelEvent *event);
    void endSwipe(qint64 msecs);
    void moveWindow(QMouseEvent *event);
    void releasePressedWidget(QMouseEvent *event);
    double predictedEnd(double tx, const Speed &speed, qint64 msecs) const;

    Book &m_book;
    QWidget *m_view;
    Locate m_locate;
    QPointer<QWindow> m_window;
    double m_faceWidth = 0;
    bool m_synthesizing = false;

    State m_pointer = State::Idle;
    Place m_pressPlace = Place::Elsewhere;
    QPointF m_pressGlobal;
    QPointF m_pointerTravel;
    Speed m_pointerSpeed;

    State m_swipe = State::Idle;
    bool m_swipeTook = false; // the last swipe turned a page: its momentum is eaten too
    QPointF m_swipeTravel;
    Speed m_swipeSpeed;
    qint64 m_swipeLast = 0;
    QTimer m_swipeIdle;
};

} // namespace quillery::ui
