#pragma once

#include <QColor>
#include <QFont>
#include <QPalette>

namespace quillery::ui {

// The few colours and fonts of the place picker and the map preview, in one
// place so they can follow the shared theme later. Colours derive from the
// widget's palette, so light and dark both work.
class PlacesStyle final
{
public:
    static QColor accent(const QPalette &palette) { return palette.color(QPalette::Highlight); }
    static QColor secondary(const QPalette &palette) { return palette.color(QPalette::PlaceholderText); }
    static QColor destructive(const QPalette &palette);
    static QColor groupBackground(const QPalette &palette) { return palette.color(QPalette::Base); }
    static QColor separator(const QPalette &palette);
    static bool isDark(const QPalette &palette);

    // The system font at a pixel size and weight (sizes are in points of the
    // layout, which are pixels at a device pixel ratio of 1).
    static QFont font(int pixelSize, QFont::Weight weight = QFont::Normal);

    // The map's colours: ground (the land colour of the usual web map), the
    // marker's red, and text drawn over the map.
    static QColor mapGround() { return QColor(0xF2, 0xEF, 0xE9); }
    static QColor markerRed() { return QColor(0xE5, 0x39, 0x35); }
    static QColor mapText() { return QColor(0x33, 0x33, 0x33); }
    static QColor mapMutedText() { return QColor(0x6E, 0x6A, 0x63); }
};

} // namespace quillery::ui
