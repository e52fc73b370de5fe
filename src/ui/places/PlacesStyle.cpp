#include "PlacesStyle.h"

#include <QApplication>

namespace quillery::ui {

bool PlacesStyle::isDark(const QPalette &palette)
{
    return palette.color(QPalette::Window).lightnessF() < 0.5;
}

QColor PlacesStyle::destructive(const QPalette &palette)
{
    return isDark(palette) ? QColor(0xFF, 0x45, 0x3A) : QColor(0xD7, 0x00, 0x15);
}

QColor PlacesStyle::separator(const QPalette &palette)
{
    QColor color = palette.color(QPalette::WindowText);
    color.setAlphaF(0.12);
    return color;
}

QFont PlacesStyle::font(int pixelSize, QFont::Weight weight)
{
    QFont font = QApplication::font();
    font.setPixelSize(pixelSize);
    font.setWeight(weight);
    return font;
}

} // namespace quillery::ui
