#include "MainWindow.h"

#include <QEvent>

namespace quillery::ui {

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent)
{
    setObjectName(QStringLiteral("QuilleryWindow"));
    // No title text: the page is the window. The desktop still names the
    // program from its desktop entry.
    setWindowTitle(QStringLiteral(" "));
    resize(DefaultWidth, DefaultHeight);
}

void MainWindow::bringToFront()
{
    if (isMinimized())
        showNormal();
    else
        show();
    raise();
    activateWindow();
}

void MainWindow::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && !isActiveWindow())
        Q_EMIT deactivated();
}

} // namespace quillery::ui
