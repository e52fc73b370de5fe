#include "Palette.h"

#include <QCoreApplication>

#include <array>

namespace quillery {

namespace {

constexpr std::array<quint32, palette::Count> Packed = {
    0xE4572E,
    0xF29E4C,
    0xE3B83B,
    0x6BA583,
    0x3E7CB1,
    0x7B5EA7,
    0x8A8F98,
};

} // namespace

quint32 paletteRgb(int index)
{
    return Packed[palette::wrap(index)];
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
