#pragma once

#include <QAbstractButton>
#include <QColor>

namespace quillery::ui {

// A filled circle button, 26 points across, that only answers inside the
// circle: the page colour button and each swatch. While a swatch column
// opens, each dot grows from 30 % of its size, anchored at its top, as it
// fades in.
class ColorDot final : public QAbstractButton
{
    Q_OBJECT
public:
    static constexpr int Size = 26;

    explicit ColorDot(QWidget *parent = nullptr);

    QColor color() const { return m_color; }
    void setColor(const QColor &color);

    // Entrance look: scale about the top centre, and opacity.
    void setEntrance(double scale, double opacity);
    double entranceScale() const { return m_scale; }
    double entranceOpacity() const { return m_opacity; }

    QSize sizeHint() const override { return { Size, Size }; }

protected:
    void paintEvent(QPaintEvent *event) override;
    bool hitButton(const QPoint &pos) const override;

private:
    QColor m_color;
    double m_scale = 1.0;
    double m_opacity = 1.0;
};

} // namespace quillery::ui
