#include "CardStyle.h"

#include "gui/theme/AppFont.h"
#include "gui/theme/PaletteColor.h"
#include "gui/theme/ThemeColors.h"

#include <QLabel>

namespace quillery::ui::CardStyle {

QColor accent(int colorIndex)
{
    return paletteColor(colorIndex);
}

QColor ink(ColorScheme scheme)
{
    return themeColor(ThemeColor::Ink, scheme);
}

QColor muted(ColorScheme scheme)
{
    return themeColor(ThemeColor::MutedInk, scheme);
}

QColor alert(ColorScheme scheme)
{
    return alertColor(scheme);
}

QFont font(double size, QFont::Weight weight)
{
    return systemFont(size, weight);
}

QLabel *label(const QString &text, const QFont &font, const QColor &color, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    label->setFont(font);
    setTextColor(label, color);
    return label;
}

void setTextColor(QWidget *widget, const QColor &color)
{
    QPalette palette = widget->palette();
    for (const QPalette::ColorGroup group : { QPalette::Active, QPalette::Inactive, QPalette::Disabled }) {
        palette.setColor(group, QPalette::WindowText, color);
        palette.setColor(group, QPalette::Text, color);
        palette.setColor(group, QPalette::ButtonText, color);
    }
    widget->setPalette(palette);
}

} // namespace quillery::ui::CardStyle
