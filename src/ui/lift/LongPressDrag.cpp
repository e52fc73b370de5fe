#include "LongPressDrag.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

#include <functional>

namespace quillery::ui {

// An event filter that hands what it sees to a function: one on the watched
// widgets and one on the application, so that an event passing both is
// judged once by each, knowing where it came from.
class LongPressDrag::Tap final : public QObject
{
public:
    Tap(QObject *parent, std::function<bool(QObject *, QEvent *)> handle)
        : QObject(parent)
        , m_handle(std::move(handle))
    { }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override { return m_handle(watched, event); }

private:
    std::function<bool(QObject *, QEvent *)> m_handle;
};

LongPressDrag::LongPressDrag(QObject *parent)
    : QObject(parent)
    , m_rowTap(new Tap(this, [this](QObject *watched, QEvent *event) { return rowEvent(watched, event); }))
    , m_appTap(new Tap(this, [this](QObject *receiver, QEvent *event) { return appEvent(receiver, event); }))
{
    m_hold.setSingleShot(true);
    m_hold.setInterval(DefaultHoldMsecs);
    connect(&m_hold, &QTimer::timeout, this, &LongPressDrag::holdElapsed);
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
        if (state != Qt::ApplicationActive)
            finish();
    });
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *old, QWidget *now) {
        // The row that was pressed (or its check box) lost the keyboard to
        // something else: a dialog, another page, the window going away.
        if (m_state != State::Idle && old && owns(old) && !owns(now))
            finish();
    });
}

LongPressDrag::~LongPressDrag()
{
    qApp->removeEventFilter(m_appTap);
}

void LongPressDrag::watch(QWidget *widget)
{
    const auto add = [this](QWidget *target, QWidget *source) {
        m_sources.insert(target, source);
        target->installEventFilter(m_rowTap);
        connect(target, &QObject::destroyed, this, [this](QObject *gone) { m_sources.remove(gone); });
    };
    add(widget, widget);
    for (QWidget *child : widget->findChildren<QWidget *>())
        add(child, widget);
}

void LongPressDrag::setHoldDuration(int msecs)
{
    m_hold.setInterval(std::max(0, msecs));
}

bool LongPressDrag::owns(const QWidget *widget) const
{
    return widget && m_source && (widget == m_source || m_source->isAncestorOf(widget));
}

bool LongPressDrag::rowEvent(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (m_state == State::Idle && mouse->button() == Qt::LeftButton) {
            if (QWidget *source = m_sources.value(watched))
                press(source, mouse->globalPosition());
        }
        return false;
    }
    case QEvent::MouseMove: {
        if (m_state == State::Idle || m_sources.value(watched) != m_source)
            return false;
        const QPointF at = static_cast<QMouseEvent *>(event)->globalPosition();
        if (m_state == State::Pressing) {
            const QPointF travel = at - m_pressAt;
            if (std::hypot(travel.x(), travel.y()) > Slop)
                reset(); // a drag or a sloppy click: not ours
            else
                m_lastAt = at;
            return false;
        }
        m_lastAt = at;
        Q_EMIT moved(at);
        return true;
    }
    case QEvent::MouseButtonRelease: {
        if (m_state == State::Idle || m_sources.value(watched) != m_source
            || static_cast<QMouseEvent *>(event)->button() != Qt::LeftButton)
            return false;
        if (m_state == State::Pressing) {
            reset(); // let go too soon: an ordinary click
            return false;
        }
        finish();
        return true;
    }
    case QEvent::Hide:
        if (m_state != State::Idle && watched == m_source)
            finish();
        return false;
    default:
        return false;
    }
}

bool LongPressDrag::appEvent(QObject *receiver, QEvent *event)
{
    // Events reach a window first and then its widget; the widget's copy is
    // the one that counts.
    if (!receiver->isWidgetType())
        return false;
    switch (event->type()) {
    case QEvent::ShortcutOverride:
    case QEvent::KeyPress: {
        const bool escape = static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape;
        if (m_state == State::Pressing) {
            if (escape && event->type() == QEvent::KeyPress)
                reset();
            return false;
        }
        // While something is carried the keyboard only drops it: no
        // scrolling, no shortcuts, no typing underneath.
        event->accept();
        if (escape && event->type() == QEvent::KeyPress)
            finish();
        return true;
    }
    case QEvent::WindowDeactivate:
        if (m_source && receiver == m_source->window())
            finish();
        return false;
    default:
        return false;
    }
}

void LongPressDrag::press(QWidget *source, const QPointF &globalPos)
{
    m_state = State::Pressing;
    m_source = source;
    m_pressAt = globalPos;
    m_lastAt = globalPos;
    m_sourceGone = connect(source, &QObject::destroyed, this, &LongPressDrag::finish);
    qApp->installEventFilter(m_appTap);
    m_hold.start();
}

void LongPressDrag::holdElapsed()
{
    if (m_state != State::Pressing || !m_source || !m_source->isVisible()) {
        reset();
        return;
    }
    m_state = State::Dragging;
    Q_EMIT started(m_source, m_lastAt);
}

void LongPressDrag::finish()
{
    const bool dragging = m_state == State::Dragging;
    reset();
    if (dragging)
        Q_EMIT finished();
}

void LongPressDrag::reset()
{
    m_state = State::Idle;
    m_hold.stop();
    disconnect(m_sourceGone);
    m_source = nullptr;
    qApp->removeEventFilter(m_appTap);
}

} // namespace quillery::ui
