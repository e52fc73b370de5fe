#pragma once

#include <QHashFunctions>

namespace quillery {

// One square tile of a web map in the usual XYZ scheme: zoom level z, column
// x and row y, both counted from the north-west corner.
struct MapTile {
    int z = 0;
    int x = 0;
    int y = 0;

    friend bool operator==(const MapTile &, const MapTile &) = default;
};

inline size_t qHash(const MapTile &tile, size_t seed = 0) noexcept
{
    return qHashMulti(seed, tile.z, tile.x, tile.y);
}

} // namespace quillery
