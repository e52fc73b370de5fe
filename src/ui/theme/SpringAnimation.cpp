#include "SpringAnimation.h"

#include <cmath>

namespace quillery::ui {

SpringAnimation::SpringAnimation(const Spring &spring, QObject *parent)
    : QVariantAnimation(parent)
    , m_spring(spring)
{
    setEasingCurve(QEasingCurve::Linear);
    updateDuration();
}

void SpringAnimation::setSpring(const Spring &spring)
{
    m_spring = spring;
    updateDuration();
}

void SpringAnimation::setDelay(int msecs)
{
    m_delay = std::max(0, msecs);
    updateDuration();
}

void SpringAnimation::updateDuration()
{
    setDuration(m_delay + static_cast<int>(std::ceil(m_spring.settlingTime() * 1000.0)));
}

QVariant SpringAnimation::interpolated(const QVariant &from, const QVariant &to, qreal progress) const
{
    if (progress >= 1.0)
        return to;
    const double elapsed = progress * duration() - m_delay;
    if (elapsed <= 0)
        return from;
    return QVariantAnimation::interpolated(from, to, m_spring.progress(elapsed / 1000.0));
}

} // namespace quillery::ui
