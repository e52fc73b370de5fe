#pragma once

namespace quillery {

// Extra margins the book asks a page to keep clear (window chrome), in
// points, added to the page's own fixed paddings. Leading and trailing follow
// the reading direction.
struct PageInsets {
    double top = 0;
    double leading = 0;
    double bottom = 0;
    double trailing = 0;

    friend bool operator==(const PageInsets &, const PageInsets &) = default;
};

} // namespace quillery
