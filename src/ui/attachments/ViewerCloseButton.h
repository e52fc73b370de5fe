#pragma once

#include <QAbstractButton>

namespace quillery::ui {

// The image viewer's close button: a white cross on a translucent white
// disc, readable on any picture.
class ViewerCloseButton final : public QAbstractButton
{
    Q_OBJECT
public:
    static constexpr int Side = 28;

    explicit ViewerCloseButton(QWidget *parent = nullptr);
    QSize sizeHint() const override { return { Side, Side }; }

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace quillery::ui
