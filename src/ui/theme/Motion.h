#pragma once

#include "core/theme/Spring.h"

#include <QVariant>

#include <functional>

class QObject;
class QVariantAnimation;

namespace quillery::ui {

// Starting the program's two kinds of motion in one call. `apply` receives
// every intermediate value (the end value last); the animation belongs to
// `owner`, stops with it and deletes itself when finished. The returned
// animation may be stopped early (then `apply` is not called again).
namespace motion {

QVariantAnimation *spring(QObject *owner, const Spring &spring, const QVariant &from, const QVariant &to,
    std::function<void(const QVariant &)> apply, int delayMsecs = 0);

QVariantAnimation *easeOut(QObject *owner, int durationMsecs, const QVariant &from, const QVariant &to,
    std::function<void(const QVariant &)> apply);

} // namespace motion

} // namespace quillery::ui
