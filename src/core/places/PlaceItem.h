#pragma once

#include <QString>

namespace quillery {

// One answer of a place search, in the parts a `Place` is built from: the
// item's own name, its coordinate in degrees, and the pieces of its address.
// Any text may be empty (absent).
struct PlaceItem {
    QString name;
    double latitude = 0;
    double longitude = 0;
    QString houseNumber;
    QString street;
    QString locality;

    friend bool operator==(const PlaceItem &, const PlaceItem &) = default;
};

} // namespace quillery
