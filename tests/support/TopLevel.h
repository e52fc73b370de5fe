#pragma once

#include <QApplication>
#include <QTest>
#include <QWidget>

namespace quillery::test {

// The visible top-level window of type T named `name` (a dialog a command
// opened), waited for up to five seconds; null when none appeared.
template <typename T> T *waitForTopLevel(const char *name)
{
    T *found = nullptr;
    [[maybe_unused]] const bool shown = QTest::qWaitFor(
        [&] {
            for (QWidget *widget : QApplication::topLevelWidgets()) {
                if (auto *candidate = qobject_cast<T *>(widget);
                    candidate && candidate->isVisible() && candidate->objectName() == QLatin1String(name))
                    found = candidate;
            }
            return found != nullptr;
        },
        5000);
    return found;
}

} // namespace quillery::test
