#include "ThemeColors.h"

#include "PaletteColor.h"

namespace quillery {

QColor themeColor(ThemeColor role, ColorScheme scheme)
{
    const bool dark = scheme == ColorScheme::Dark;
    switch (role) {
    case ThemeColor::Paper:
        return dark ? QColor(31, 31, 33) : QColor(255, 255, 255);
    case ThemeColor::Ink:
        return dark ? QColor(242, 242, 244) : QColor(28, 28, 30);
    case ThemeColor::MutedInk:
        return QColor(142, 142, 147);
    case ThemeColor::Rule:
        return dark ? QColor(46, 46, 49) : QColor(235, 235, 237);
    case ThemeColor::Desk:
        return dark ? QColor(12, 12, 13) : QColor(238, 237, 233);
    }
    return {};
}

QColor alertColor(ColorScheme scheme)
{
    return scheme == ColorScheme::Dark ? QColor(255, 69, 58) : QColor(255, 59, 48);
}

double tintOpacity(ColorScheme scheme)
{
    return scheme == ColorScheme::Dark ? 0.18 : 0.15;
}

QColor paperTint(int colorIndex, ColorScheme scheme)
{
    QColor tint = paletteColor(colorIndex);
    tint.setAlphaF(isSlate(colorIndex) ? 0.0 : tintOpacity(scheme));
    return tint;
}

} // namespace quillery
