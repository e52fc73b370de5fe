#pragma once

class QMenuBar;
class QWidget;

namespace quillery::ui {

// Appends the "Help" menu, with "About Quillery", to the end of a window's
// menu bar. The about dialog opens over `window`; asking again while it is
// open brings the open one to the front instead of stacking a second.
void addHelpMenu(QMenuBar *bar, QWidget *window);

} // namespace quillery::ui
