#pragma once

#include "core/theme/Palette.h"

#include <QColor>

namespace quillery {

// The page colour at `index` (wrapped), as the views draw it.
inline QColor paletteColor(int index)
{
    return QColor::fromRgb(paletteRgb(index));
}

} // namespace quillery
