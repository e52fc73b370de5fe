#pragma once

#include <QWidget>

namespace quillery {
class Appearance;
} // namespace quillery

namespace quillery::ui {

class ColorDot;
class SwatchColumn;

// The colour control in a page's top trailing corner: a dot in the page's
// colour ("Page color") that opens and closes the swatch column under it.
// Picking a swatch reports its palette index and closes the column.
class PageColorPicker final : public QWidget
{
    Q_OBJECT
public:
    static constexpr int ColumnWidth = 40;
    static constexpr int Gap = 8;

    explicit PageColorPicker(const Appearance &appearance, QWidget *parent = nullptr);

    ColorDot *button() const { return m_button; }
    SwatchColumn *column() const { return m_column; }

    void setButtonColor(const QColor &color);

    bool isOpen() const { return m_open; }
    void setOpen(bool open, bool animated = true);

    // Where the 40-point column starts inside this widget (the rest is room
    // for the card's shadow).
    static int columnLeft();

Q_SIGNALS:
    void colorPicked(int index);
    void openChanged(bool open);

protected:
    void mousePressEvent(QMouseEvent *event) override;

private:
    void fitSize();

    ColorDot *m_button = nullptr;
    SwatchColumn *m_column = nullptr;
    bool m_open = false;
};

} // namespace quillery::ui
