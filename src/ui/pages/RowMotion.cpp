#include "RowMotion.h"

#include "ui/theme/SpringAnimation.h"

#include <QGraphicsOpacityEffect>
#include <QHash>

#include <algorithm>
#include <cmath>
#include <utility>

namespace quillery::ui {

namespace {

const Spring ListSpring { 0.5, 0.85 };

void setOpacity(QWidget *widget, double opacity)
{
    auto *effect = qobject_cast<QGraphicsOpacityEffect *>(widget->graphicsEffect());
    if (opacity >= 1.0) {
        if (effect)
            widget->setGraphicsEffect(nullptr);
        return;
    }
    if (!effect) {
        effect = new QGraphicsOpacityEffect(widget);
        widget->setGraphicsEffect(effect);
    }
    effect->setOpacity(std::clamp(opacity, 0.0, 1.0));
}

QRect lerp(const QRect &from, const QRect &to, double t)
{
    const auto mix = [t](int a, int b) { return static_cast<int>(std::lround(a + (b - a) * t)); };
    return QRect(QPoint(mix(from.x(), to.x()), mix(from.y(), to.y())),
        QSize(mix(from.width(), to.width()), mix(from.height(), to.height())));
}

} // namespace

RowMotion::RowMotion(Place place, QObject *parent)
    : QObject(parent)
    , m_place(std::move(place))
{ }

RowMotion::~RowMotion()
{
    if (m_spring)
        m_spring->stop();
}

QHash<QWidget *, QRect> RowMotion::currentPlaces() const
{
    QHash<QWidget *, QRect> places;
    for (const Move &move : m_moves) {
        if (move.widget && move.kind != Move::Leave)
            places.insert(move.widget, move.widget->geometry());
    }
    return places;
}

void RowMotion::run(QList<Move> moves, bool animate)
{
    finish();
    const bool anythingMoves = std::any_of(
        moves.cbegin(), moves.cend(), [](const Move &move) { return move.kind != Move::Stay || move.from != move.to; });
    if (!animate || !anythingMoves) {
        for (const Move &move : std::as_const(moves)) {
            if (!move.widget)
                continue;
            land(move);
            if (move.kind != Move::Leave)
                move.widget->show();
        }
        return;
    }
    for (const Move &move : std::as_const(moves)) {
        if (!move.widget)
            continue;
        move.widget->setGeometry(move.from);
        if (move.kind == Move::Enter)
            setOpacity(move.widget, 0.0);
        move.widget->show();
    }
    m_moves = std::move(moves);
    m_spring = new SpringAnimation(ListSpring, this);
    m_spring->setStartValue(0.0);
    m_spring->setEndValue(1.0);
    connect(
        m_spring, &QVariantAnimation::valueChanged, this, [this](const QVariant &value) { step(value.toDouble()); });
    connect(m_spring, &QAbstractAnimation::finished, this, &RowMotion::finish);
    m_spring->start();
}

void RowMotion::step(double t)
{
    for (const Move &move : std::as_const(m_moves)) {
        if (!move.widget)
            continue;
        switch (move.kind) {
        case Move::Enter:
            setOpacity(move.widget, t);
            break;
        case Move::Leave:
            setOpacity(move.widget, 1.0 - t);
            break;
        case Move::Stay:
            move.widget->setGeometry(lerp(move.from, move.to, t));
            break;
        }
    }
}

void RowMotion::finish()
{
    if (!m_spring)
        return;
    SpringAnimation *spring = std::exchange(m_spring, nullptr);
    const QList<Move> moves = std::exchange(m_moves, {});
    spring->disconnect(this);
    spring->stop();
    spring->deleteLater();
    for (const Move &move : moves) {
        if (move.widget)
            land(move);
    }
}

void RowMotion::land(const Move &move)
{
    if (move.kind == Move::Leave) {
        move.widget->hide();
        move.widget->deleteLater();
        return;
    }
    setOpacity(move.widget, 1.0);
    m_place(move.widget, move.to);
}

} // namespace quillery::ui
