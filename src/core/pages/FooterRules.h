#pragma once

#include "core/pages/PageSide.h"

namespace quillery {

// How a page-turning chevron of the footer shows. A faded chevron is inert
// and drawn at 30 % opacity; on a spread the inward chevrons vanish, so only
// the outward ones show.
enum class ChevronLook { Active, Faded, Hidden };

// The previous chevron of page `number` (1-based): inert on the first page
// and on the right page of a spread (hidden there).
ChevronLook previousChevron(int number, PageSide side);

// The next chevron: always active except on the left page of a spread
// (hidden there). The page count never disables it: whether turning past the
// last page makes a new one is the book's decision.
ChevronLook nextChevron(PageSide side);

} // namespace quillery
