#pragma once

#include <QHash>
#include <QObject>
#include <QPointF>
#include <QPointer>
#include <QTimer>

class QWidget;

namespace quillery::ui {

// Recognises a press held still that turns into a drag, on the widgets it
// watches: a left-button press that stays within `Slop` points for
// `holdDuration` starts the drag; from then on every pointer move is reported
// and the release ends it. A press that travels further or ends sooner is
// left alone entirely, so clicks keep working. Once dragging, the pointer's
// moves and release belong to the drag and reach no widget, and of the keys
// only Escape does anything: it drops.
//
// A drag that is interrupted (Escape, the window or the watched row losing
// focus, the application going to the background, the source going away)
// ends exactly as a release would.
class LongPressDrag final : public QObject
{
    Q_OBJECT
public:
    static constexpr int DefaultHoldMsecs = 350;
    static constexpr double Slop = 10.0;

    explicit LongPressDrag(QObject *parent = nullptr);
    ~LongPressDrag() override;

    // Presses on `widget` or any of its current children start a gesture
    // reported with `widget` as its source.
    void watch(QWidget *widget);

    int holdDuration() const { return m_hold.interval(); }
    void setHoldDuration(int msecs);

    enum class State { Idle, Pressing, Dragging };
    State state() const { return m_state; }
    QWidget *source() const { return m_source; }

    // Ends a drag as a release would; forgets a press still being held.
    void finish();

Q_SIGNALS:
    // The press was held long enough; `globalPos` is where the pointer is.
    void started(QWidget *source, QPointF globalPos);
    void moved(QPointF globalPos);
    void finished();

private:
    class Tap;

    bool rowEvent(QObject *watched, QEvent *event);
    bool appEvent(QObject *receiver, QEvent *event);
    void press(QWidget *source, const QPointF &globalPos);
    void holdElapsed();
    void reset();
    bool owns(const QWidget *widget) const;

    QHash<QObject *, QPointer<QWidget>> m_sources; // watched widget → the widget it reports as
    Tap *m_rowTap = nullptr; // on the watched widgets, always
    Tap *m_appTap = nullptr; // on the application, while a gesture is under way
    QTimer m_hold;
    State m_state = State::Idle;
    QPointer<QWidget> m_source;
    QPointF m_pressAt;
    QPointF m_lastAt;
    QMetaObject::Connection m_sourceGone;
};

} // namespace quillery::ui
