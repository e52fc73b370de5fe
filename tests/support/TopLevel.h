#pragma once

#include <QApplication>
#include <QTest>
#include <QWidget>

namespace quillery::test {

// The visible window of type T named `name` (a dialog, a message box, a file
// chooser a command opened), waited for up to five seconds; null if none.
template <typename T> T *waitForTopLevel(const char *name)
{
    T *found = nullptr;
    const bool shown = QTest::qWaitFor(
        [&] {
            for (QWidget *widget : QApplication::topLevelWidgets()) {
                if (auto *candidate = qobject_cast<T *>(widget);
                    candidate && candidate->isVisible() && candidate->objectName() == QLatin1String(name))
                    found = candidate;
            }
            return found != nullptr;
        },
        5000);
    return shown ? found : nullptr;
}

} // namespace quillery::test
