#pragma once

#include <QString>

class QWidget;

namespace quillery::test {

// Saves what the screen shows as <QUILLERY_SHOT_DIR>/<name>.png when that
// variable is set, so the looks the tests reach can be checked by eye (run
// under Xvfb with QT_QPA_PLATFORM=xcb to have open menus in the picture;
// offscreen, only `window` is drawn). Does nothing otherwise.
void saveScreenshot(const QString &name, QWidget &window);

} // namespace quillery::test
