#include "Motion.h"

#include "SpringAnimation.h"
#include "core/book/Easing.h"

namespace quillery::ui::motion {

namespace {

QVariantAnimation *run(
    QVariantAnimation *animation, const QVariant &from, const QVariant &to, std::function<void(const QVariant &)> apply)
{
    animation->setStartValue(from);
    animation->setEndValue(to);
    QObject::connect(animation, &QVariantAnimation::valueChanged, animation, std::move(apply));
    animation->start(QAbstractAnimation::DeleteWhenStopped);
    return animation;
}

} // namespace

QVariantAnimation *spring(QObject *owner, const Spring &spring, const QVariant &from, const QVariant &to,
    std::function<void(const QVariant &)> apply, int delayMsecs)
{
    auto *animation = new SpringAnimation(spring, owner);
    animation->setDelay(delayMsecs);
    return run(animation, from, to, std::move(apply));
}

QVariantAnimation *easeOut(QObject *owner, int durationMsecs, const QVariant &from, const QVariant &to,
    std::function<void(const QVariant &)> apply)
{
    auto *animation = new QVariantAnimation(owner);
    animation->setDuration(durationMsecs);
    animation->setEasingCurve(easeOutCurve());
    return run(animation, from, to, std::move(apply));
}

} // namespace quillery::ui::motion
