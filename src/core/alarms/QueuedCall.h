#pragma once

#include <QMetaObject>
#include <QObject>

#include <type_traits>
#include <utility>

namespace quillery {

// Wraps a completion so that, whichever thread calls it, `f` runs later on
// the thread of `context` (for the alarm objects: the main thread), after the
// caller has returned. When `context` is gone by then, `f` does not run.
// `context` must outlive any call of the wrapper itself.
template <typename F> auto queuedTo(QObject *context, F f)
{
    return [context, f = std::move(f)](auto &&...args) {
        QMetaObject::invokeMethod(
            context,
            [f, ... values = std::decay_t<decltype(args)>(std::forward<decltype(args)>(args))]() mutable {
                f(std::move(values)...);
            },
            Qt::QueuedConnection);
    };
}

} // namespace quillery
