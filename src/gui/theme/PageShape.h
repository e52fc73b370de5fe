#pragma once

#include "core/pages/PageSide.h"

#include <QPainterPath>
#include <QRectF>

namespace quillery {

// The outline a page face is clipped to, for a page placed at `side` in
// `rect`. Every side currently clips to the plain rectangle (the corners are
// square); the shape is still chosen per side so a spread can round its
// outer corners later without touching the pages.
QPainterPath pageShape(PageSide side, const QRectF &rect);

// The rounded rectangle (corner radius 14) shared by page thumbnails and
// their decorations.
QPainterPath roundedPageShape(const QRectF &rect);

inline constexpr double RoundedPageRadius = 14.0;

} // namespace quillery
