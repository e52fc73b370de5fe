#pragma once

namespace quillery {

class MapTileSource;
class PlaceService;

// What the place picker and the map preview are given: the place service
// (suggestions and resolution) and the map tiles.
struct PlaceBackends {
    PlaceService *search = nullptr;
    MapTileSource *tiles = nullptr;
};

} // namespace quillery
