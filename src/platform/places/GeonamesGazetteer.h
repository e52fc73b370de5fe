#pragma once

#include "core/places/CityIndex.h"

#include <QFuture>

#include <memory>

namespace quillery {

// The city gazetteer that libgeonames ships (about 24,000 cities with their
// region, country, coordinate and population), read once into a CityIndex.
// Reading takes a few hundred milliseconds, so it runs on a worker thread the
// first time anyone asks; libgeonames' own query function costs as much on
// every call, which is why keystrokes are answered from the index instead.
class GeonamesGazetteer final
{
public:
    using Index = std::shared_ptr<const CityIndex>;

    // The index, read on first use and shared by everyone after that.
    static QFuture<Index> shared();

    // Reads the whole gazetteer now, on the calling thread.
    static CityIndex read();
};

} // namespace quillery
