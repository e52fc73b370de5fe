#pragma once

#include <QMainWindow>

namespace quillery::ui {

// The one window of the program: a book-shaped window without title text,
// 600 × 834 points when first opened. The book view is its content.
class MainWindow final : public QMainWindow
{
    Q_OBJECT
public:
    static constexpr int DefaultWidth = 600;
    static constexpr int DefaultHeight = 834;

    explicit MainWindow(QWidget *parent = nullptr);

    // Shows the window in front, as when the user starts Quillery again.
    void bringToFront();

Q_SIGNALS:
    // The window stopped being the active one (the desktop switched away).
    void deactivated();

protected:
    void changeEvent(QEvent *event) override;
};

} // namespace quillery::ui
