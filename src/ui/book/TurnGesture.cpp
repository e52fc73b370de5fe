#include "TurnGesture.h"

#include "core/book/Book.h"
#include "core/book/TurnDrag.h"
#include "core/model/Editing.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QWidget>
#include <QWindow>

#include <cmath>

namespace quillery::ui {

namespace {
constexpr qint64 SpeedWindowMsecs = 100; // the speed of a drag is read over its last moments
constexpr qint64 RestMsecs = 60; // a drag that rested this long before letting go has no speed
const QPointF FarAway(-100000, -100000);
} // namespace

void TurnGesture::Speed::reset()
{
    m_count = 0;
    m_next = 0;
}

void TurnGesture::Speed::add(qint64 msecs, double x)
{
    m_samples[m_next] = { msecs, x };
    m_next = (m_next + 1) % int(std::size(m_samples));
    m_count = std::min(m_count + 1, int(std::size(m_samples)));
}

double TurnGesture::Speed::at(qint64 msecs) const
{
    if (m_count < 2)
        return 0;
    const int size = int(std::size(m_samples));
    const Sample &last = m_samples[(m_next - 1 + size) % size];
    if (msecs - last.msecs > RestMsecs)
        return 0;
    // The oldest sample still inside the window.
    const Sample *first = &last;
    for (int i = 2; i <= m_count; ++i) {
        const Sample &sample = m_samples[(m_next - i + size) % size];
        if (last.msecs - sample.msecs > SpeedWindowMsecs)
            break;
        first = &sample;
    }
    const qint64 span = last.msecs - first->msecs;
    if (span <= 0)
        return 0;
    return (last.x - first->x) * 1000.0 / double(span);
}

TurnGesture::TurnGesture(Book &book, QWidget *view, Locate locate, QObject *parent)
    : QObject(parent)
    , m_book(book)
    , m_view(view)
    , m_locate(std::move(locate))
{
    m_swipeIdle.setSingleShot(true);
    m_swipeIdle.setInterval(SwipeIdleMsecs);
    connect(&m_swipeIdle, &QTimer::timeout, this, [this] { endSwipe(m_swipeLast + SwipeIdleMsecs); });
}

TurnGesture::~TurnGesture()
{
    if (m_window)
        m_window->removeEventFilter(this);
}

void TurnGesture::attach(QWindow *window)
{
    if (m_window == window)
        return;
    if (m_window)
        m_window->removeEventFilter(this);
    m_window = window;
    m_pointer = State::Idle;
    m_swipe = State::Idle;
    if (m_window)
        m_window->installEventFilter(this);
}

void TurnGesture::interrupt()
{
    if (m_pointer == State::Tracking || m_pointer == State::Turning)
        m_book.dragEnded(m_pointerTravel.x(), m_faceWidth);
    m_pointer = State::Idle;
    if (m_swipe != State::Idle)
        endSwipe(m_swipeLast);
}

bool TurnGesture::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_window || m_synthesizing)
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        return mousePressed(static_cast<QMouseEvent *>(event));
    case QEvent::MouseMove:
        return mouseMoved(static_cast<QMouseEvent *>(event));
    case QEvent::MouseButtonRelease:
        return mouseReleased(static_cast<QMouseEvent *>(event));
    case QEvent::Wheel:
        return wheel(static_cast<QWheelEvent *>(event));
    default:
        return false;
    }
}

TurnGesture::Place TurnGesture::locate(const QPointF &windowPos) const
{
    QWidget *top = m_view->window();
    const QPoint point = windowPos.toPoint();
    QWidget *target = top->childAt(point);
    if (!target)
        target = top;
    if (target != m_view && !m_view->isAncestorOf(target))
        return Place::Elsewhere;
    return m_locate(target, m_view->mapFrom(top, point));
}

double TurnGesture::predictedEnd(double tx, const Speed &speed, qint64 msecs) const
{
    return tx + speed.at(msecs) * PredictionSeconds;
}

bool TurnGesture::mousePressed(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return false;
    if (m_pointer != State::Idle) {
        // The last drag never saw its release (the window manager took the
        // pointer to move the window): it is over.
        m_book.dragEnded(m_pointerTravel.x(), m_faceWidth);
        m_pointer = State::Idle;
    }
    m_pressPlace = locate(event->position());
    if (m_pressPlace == Place::Elsewhere)
        return false;
    m_pointer = State::Tracking;
    m_pressGlobal = event->globalPosition();
    m_pointerTravel = {};
    m_pointerSpeed.reset();
    return false;
}

bool TurnGesture::mouseMoved(QMouseEvent *event)
{
    if (m_pointer == State::Idle)
        return false;
    if (!(event->buttons() & Qt::LeftButton)) {
        // The release went elsewhere (another window took it).
        m_book.dragEnded(m_pointerTravel.x(), m_faceWidth);
        m_pointer = State::Idle;
        return false;
    }
    m_pointerTravel = event->globalPosition() - m_pressGlobal;
    const double tx = m_pointerTravel.x();
    const double ty = m_pointerTravel.y();
    switch (m_pointer) {
    case State::Idle:
        return false;
    case State::Moving:
        return true;
    case State::Turning:
        m_pointerSpeed.add(qint64(event->timestamp()), tx);
        m_book.dragChanged(tx, ty, m_faceWidth);
        return true;
    case State::Tracking:
        break;
    }
    if (m_pressPlace == Place::TopStrip || m_pressPlace == Place::Desk) {
        if (m_pointerTravel.manhattanLength() < QApplication::startDragDistance())
            return false;
        moveWindow(event);
        return true;
    }
    if (std::hypot(tx, ty) < MinimumTravel)
        return false;
    m_pointerSpeed.add(qint64(event->timestamp()), tx);
    m_book.dragChanged(tx, ty, m_faceWidth);
    if (m_book.dragMode() == DragMode::Flipping) {
        m_pointer = State::Turning;
        releasePressedWidget(event);
        return true;
    }
    // A drag of the paper that is not sideways moves the window; a sideways
    // one the book refused (no page that way) is only a failed turn.
    const bool sideways = std::abs(tx) > TurnDrag::HorizontalRatio * std::abs(ty);
    if (m_book.dragMode() == DragMode::Ignored && m_pressPlace == Place::Paper && !sideways
        && !m_book.editing().lifted()) {
        moveWindow(event);
        return true;
    }
    return false;
}

bool TurnGesture::mouseReleased(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || m_pointer == State::Idle)
        return false;
    const State state = m_pointer;
    m_pointer = State::Idle;
    if (state == State::Moving)
        return true;
    const double tx = m_pointerTravel.x();
    m_book.dragEnded(predictedEnd(tx, m_pointerSpeed, qint64(event->timestamp())), m_faceWidth);
    // The page already had its release when the turn took the pointer.
    return state == State::Turning;
}

void TurnGesture::moveWindow(QMouseEvent *event)
{
    m_pointer = State::Moving;
    m_book.dragEnded(m_pointerTravel.x(), m_faceWidth);
    releasePressedWidget(event);
    Q_EMIT windowMoveRequested();
}

void TurnGesture::releasePressedWidget(QMouseEvent *event)
{
    if (!m_window)
        return;
    // Delivered through the window as if the button came up far outside
    // every widget: the pressed widget ends its press without acting on it.
    QMouseEvent release(QEvent::MouseButtonRelease, FarAway, FarAway, FarAway, Qt::LeftButton, Qt::NoButton,
        event->modifiers(), event->pointingDevice());
    release.setTimestamp(event->timestamp());
    m_synthesizing = true;
    QCoreApplication::sendEvent(m_window, &release);
    m_synthesizing = false;
}

bool TurnGesture::wheel(QWheelEvent *event)
{
    const qint64 msecs = qint64(event->timestamp());
    switch (event->phase()) {
    case Qt::ScrollMomentum:
        // The glide after a swipe that turned a page must not scroll the
        // new page.
        return m_swipeTook;
    case Qt::ScrollEnd:
        if (m_swipe == State::Idle)
            return false;
        {
            const bool took = m_swipe == State::Turning;
            endSwipe(msecs);
            return took;
        }
    case Qt::ScrollBegin:
        if (m_swipe != State::Idle)
            endSwipe(msecs);
        break;
    case Qt::ScrollUpdate:
    case Qt::NoScrollPhase:
        break;
    }
    const QPointF delta = event->pixelDelta();
    if (event->phase() != Qt::ScrollBegin && delta.isNull())
        return m_swipe == State::Turning;
    if (m_swipe == State::Idle) {
        const Place place = locate(event->position());
        if (place == Place::Elsewhere || place == Place::Desk)
            return false;
        m_swipe = State::Tracking;
        m_swipeTook = false;
        m_swipeTravel = {};
        m_swipeSpeed.reset();
    }
    // Positive deltas scroll towards the left, the way content follows
    // fingers moving right: like dragging the page to the right.
    m_swipeTravel += delta;
    m_swipeLast = msecs;
    if (event->phase() == Qt::NoScrollPhase)
        m_swipeIdle.start();
    const double tx = m_swipeTravel.x();
    const double ty = m_swipeTravel.y();
    if (m_swipe == State::Tracking && std::hypot(tx, ty) < MinimumTravel)
        return false;
    m_swipeSpeed.add(msecs, tx);
    m_book.dragChanged(tx, ty, m_faceWidth);
    if (m_book.dragMode() == DragMode::Flipping)
        m_swipe = State::Turning;
    return m_swipe == State::Turning;
}

void TurnGesture::endSwipe(qint64 msecs)
{
    m_swipeIdle.stop();
    if (m_swipe == State::Idle)
        return;
    m_swipeTook = m_swipe == State::Turning;
    m_swipe = State::Idle;
    m_book.dragEnded(predictedEnd(m_swipeTravel.x(), m_swipeSpeed, msecs), m_faceWidth);
}

} // namespace quillery::ui
