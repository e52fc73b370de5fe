#include "Palette.h"

#include <QCoreApplication>

#include <array>

namespace quillery {

namespace {

constexpr std::array<QRgb, palette::Count> Packed = {
    0xE4572E,
    0xF29E4C,
    0xE3B83B,
    0x6BA583,
    0x3E7CB1,
    0x7B5EA7,
    0x8A8F98,
};

const std::array<QColor, palette::Count> &colors()
{
    static const std::array<QColor, palette::Count> table = [] {
        std::array<QColor, palette::Count> built;
        for (int i = 0; i < palette::Count; ++i)
            built[i] = QColor::fromRgb(Packed[i]);
        return built;
    }();
    return table;
}

} // namespace

QColor paletteColor(int index)
{
    return colors()[palette::wrap(index)];
}

QString paletteName(int index)
{
    switch (palette::wrap(index)) {
    case 0:
        return QCoreApplication::translate("Palette", "Coral");
    case 1:
        return QCoreApplication::translate("Palette", "Amber");
    case 2:
        return QCoreApplication::translate("Palette", "Mustard");
    case 3:
        return QCoreApplication::translate("Palette", "Sage");
    case 4:
        return QCoreApplication::translate("Palette", "Ocean");
    case 5:
        return QCoreApplication::translate("Palette", "Violet");
    default:
        return QCoreApplication::translate("Palette", "Slate");
    }
}

bool isSlate(int index)
{
    return palette::wrap(index) == palette::SlateIndex;
}

} // namespace quillery
