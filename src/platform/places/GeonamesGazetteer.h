#pragma once

#include "core/places/CityIndex.h"

#include <QFuture>

#include <memory>

namespace quillery {

// The city gazetteer that libgeonames ships (about 24,000 cities with their
// region, country, coordinate and population), read once into a CityIndex.
// Reading takes a few hundred milliseconds, so it runs on a worker thread,
// and that is also where the quillery-geonames module is loaded, the first
// time: the window never waits for the library. libgeonames' own query
// function costs as much on every call, which is why keystrokes are answered
// from the index instead.
class GeonamesGazetteer final
{
public:
    using Index = std::shared_ptr<const CityIndex>;

    // Starts reading the index on a worker thread.
    static QFuture<Index> load();

    // Reads the whole gazetteer now, on the calling thread. libgeonames
    // keeps its tables for the whole process, so reads take turns. Without
    // the module the index is empty (and stderr says why).
    static CityIndex read();
};

} // namespace quillery
