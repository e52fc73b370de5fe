#pragma once

#include <QPointer>
#include <QWidget>

namespace quillery::ui {

// The soft shadow under a lifted row (black at 0.18, radius 10, 4 points
// down). It is a sibling stacked just under the row it belongs to, so it
// falls over the neighbouring rows rather than under them, and it follows the
// row wherever the row is moved.
class LiftShadow final : public QWidget
{
    Q_OBJECT
public:
    static constexpr double Radius = 10.0;
    static constexpr double Opacity = 0.18;
    static constexpr double Drop = 4.0;

    explicit LiftShadow(QWidget *row);

    QWidget *row() const { return m_row; }
    // Takes the row's place again (after the row moved or resized).
    void follow();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    QPointer<QWidget> m_row;
};

} // namespace quillery::ui
