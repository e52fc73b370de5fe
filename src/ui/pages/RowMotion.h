#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QWidget>

#include <functional>

namespace quillery::ui {

class SpringAnimation;

// Moves the widgets of a list from where they are to where they belong, all
// on one spring: widgets that stay slide to their new place, widgets that
// enter fade in where they belong, widgets that leave fade out where they
// are and are deleted. A new motion starts from where the last one had got
// to; finishing puts everything at the end of its way at once.
class RowMotion final : public QObject
{
    Q_OBJECT
public:
    struct Move {
        enum Kind { Stay, Enter, Leave };
        QPointer<QWidget> widget;
        QRect from;
        QRect to;
        Kind kind = Stay;
    };
    // Puts a staying or entering widget at a place (the list adds the lift
    // offset of a row).
    using Place = std::function<void(QWidget *widget, const QRect &frame)>;

    explicit RowMotion(Place place, QObject *parent = nullptr);
    // Stops without touching the widgets: they are going too.
    ~RowMotion() override;

    bool isRunning() const { return m_spring != nullptr; }
    // Where each widget that stays or enters is now, while running.
    QHash<QWidget *, QRect> currentPlaces() const;

    // Ends a motion in progress, then runs `moves`; without `animate`, or
    // when nothing would move, everything lands at once.
    void run(QList<Move> moves, bool animate);
    // Puts every moving widget at the end of its way at once.
    void finish();

private:
    void land(const Move &move);
    void step(double t);

    Place m_place;
    QList<Move> m_moves;
    SpringAnimation *m_spring = nullptr;
};

} // namespace quillery::ui
