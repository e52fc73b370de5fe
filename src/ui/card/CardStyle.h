#pragma once

#include "core/theme/ColorScheme.h"

#include <QColor>
#include <QFont>
#include <QString>

class QLabel;
class QWidget;

namespace quillery::ui {

// The measures, colours and fonts of the task card, in one place.
namespace CardStyle {

constexpr int Width = 440;
constexpr int Height = 640;
constexpr int Inset = 24; // around the content
constexpr int SectionSpacing = 26; // between the sections
constexpr int HeadingSpacing = 10; // between a heading and its section
constexpr int HeaderSpacing = 14; // between the title and "Done"
constexpr int WhenSpacing = 14; // between the rows of the "When" section
constexpr int QuickDaySpacing = 8;
constexpr int ContentWidth = Width - 2 * Inset;

// The accent of a card: its page's palette colour, as on the page.
QColor accent(int colorIndex);
QColor ink(ColorScheme scheme);
QColor muted(ColorScheme scheme);
QColor alert(ColorScheme scheme);

// The system font at a size and weight (the "rounded" design stands in as
// the default one).
QFont font(double size, QFont::Weight weight = QFont::Normal);

// A label that shows `text` plainly (never as rich text) in a font and
// colour.
QLabel *label(const QString &text, const QFont &font, const QColor &color, QWidget *parent);
void setTextColor(QWidget *widget, const QColor &color);

} // namespace CardStyle

} // namespace quillery::ui
