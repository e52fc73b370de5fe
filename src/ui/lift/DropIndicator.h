#pragma once

#include <QColor>
#include <QWidget>

namespace quillery::ui {

// The bar that shows where carried rows will land: 3 points tall in the
// page's colour, drawn over the list. It takes no input.
class DropIndicator final : public QWidget
{
    Q_OBJECT
public:
    static constexpr double Thickness = 3.0;

    explicit DropIndicator(QWidget *parent = nullptr);

    QColor color() const { return m_color; }
    void setColor(const QColor &color);

    // Centres the bar on `y` between `left` and `right` (parent coordinates).
    void place(double left, double right, double y);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_color;
};

} // namespace quillery::ui
