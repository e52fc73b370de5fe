#pragma once

namespace quillery {

// Where a page sits: shown alone, as the left or right page of a spread, or
// filling a window of its own. The book tells each page; the page picks its
// clip shape and which chevrons it offers from it.
enum class PageSide { Single, Left, Right, Window };

} // namespace quillery
