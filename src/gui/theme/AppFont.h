#pragma once

#include <QFont>
#include <QString>

namespace quillery {

// Fonts of the program, sized in points (one point is one device-independent
// pixel here, as every other length of the layout).
//
// `appFont` is the user's typeface (the "typeface" preference): the
// desktop's serif face for "serif", the system font for "sans" and for any
// value this version does not know.
QFont appFont(double size, QFont::Weight weight, const QString &typeface);

// The system font at a size and weight (status text, page numbers, menus).
QFont systemFont(double size, QFont::Weight weight = QFont::Normal);

// Sets the font's size in points of the layout.
void setLayoutSize(QFont &font, double size);

} // namespace quillery
