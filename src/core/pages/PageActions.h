#pragma once

#include <functional>

namespace quillery {

// What a page can ask of the book that shows it. The book builds one bundle
// per page; an empty callback means the book offers nothing for it.
// `riffleChanged` (horizontal travel in points) and `riffleEnded` are kept for
// a riffle gesture; no control of the page calls them.
struct PageActions {
    std::function<void()> prev;
    std::function<void()> next;
    std::function<void()> tearOut;
    std::function<void()> contents;
    std::function<void(double)> riffleChanged;
    std::function<void()> riffleEnded;
};

} // namespace quillery
