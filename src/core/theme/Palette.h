#pragma once

#include <QString>

namespace quillery {

// The seven paper colours a page can take. Any integer picks a colour: the
// index wraps around (negative ones too), so a damaged or future colour index
// still draws.
namespace palette {

inline constexpr int Count = 7;
inline constexpr int SlateIndex = 6;

// index floor-mod 7: 7 → 0, 9 → 2, -1 → 6.
constexpr int wrap(int index)
{
    return ((index % Count) + Count) % Count;
}

} // namespace palette

// The colour at `index` (wrapped) as 0xRRGGBB: Coral, Amber, Mustard, Sage,
// Ocean, Violet, Slate. The widgets draw it as paletteColor().
quint32 paletteRgb(int index);

// The colour's name, as the swatches announce it ("Coral" … "Slate").
QString paletteName(int index);

// Slate pages are plain paper: they carry no tint.
bool isSlate(int index);

} // namespace quillery
