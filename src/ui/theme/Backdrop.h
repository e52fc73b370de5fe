#pragma once

#include <QWidget>

namespace quillery::ui {

// The desk the book lies on: the desk colour of the scheme, filling the
// widget, following the scheme live.
class Backdrop final : public QWidget
{
    Q_OBJECT
public:
    explicit Backdrop(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace quillery::ui
