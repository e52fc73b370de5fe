#pragma once

#include <QString>

#include <optional>

namespace quillery::PageColors {

// The colour name (a CSS colour keyword, as iCalendar's COLOR takes) closest
// to the page colour at `index`.
QString cssName(int index);

// The page colour closest to a CSS colour keyword or #rrggbb text; none when
// the text names no colour.
std::optional<int> nearestIndex(const QString &color);

} // namespace quillery::PageColors
