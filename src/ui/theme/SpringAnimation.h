#pragma once

#include "core/theme/Spring.h"

#include <QVariantAnimation>

namespace quillery::ui {

// A value animation that moves along a spring instead of a timed curve: it
// runs for as long as the spring needs to settle and may overshoot its end
// value on the way (values that cannot overshoot, such as colours, are
// clamped by Qt). An optional delay holds the start value first.
class SpringAnimation final : public QVariantAnimation
{
    Q_OBJECT
public:
    explicit SpringAnimation(const Spring &spring, QObject *parent = nullptr);

    Spring spring() const { return m_spring; }
    void setSpring(const Spring &spring);

    int delay() const { return m_delay; }
    void setDelay(int msecs);

protected:
    QVariant interpolated(const QVariant &from, const QVariant &to, qreal progress) const override;

private:
    void updateDuration();

    Spring m_spring;
    int m_delay = 0;
};

} // namespace quillery::ui
