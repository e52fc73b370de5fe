#include "PagePalette.h"

#include "gui/theme/PaletteColor.h"
#include "gui/theme/ThemeColors.h"

namespace quillery::ui {

QPalette pagePalette(const QPalette &base, int colorIndex, ColorScheme scheme)
{
    QPalette palette = base;
    const QColor ink = themeColor(ThemeColor::Ink, scheme);
    QColor placeholder = themeColor(ThemeColor::MutedInk, scheme);
    placeholder.setAlphaF(0.5);
    QColor selection = paletteColor(colorIndex);
    selection.setAlphaF(0.35);
    for (const QPalette::ColorGroup group : { QPalette::Active, QPalette::Inactive, QPalette::Disabled }) {
        palette.setColor(group, QPalette::Window, themeColor(ThemeColor::Paper, scheme));
        palette.setColor(group, QPalette::Base, Qt::transparent);
        palette.setColor(group, QPalette::WindowText, ink);
        palette.setColor(group, QPalette::Text, ink);
        palette.setColor(group, QPalette::ButtonText, ink);
        palette.setColor(group, QPalette::PlaceholderText, placeholder);
        palette.setColor(group, QPalette::Highlight, selection);
        palette.setColor(group, QPalette::HighlightedText, ink);
    }
    return palette;
}

} // namespace quillery::ui
