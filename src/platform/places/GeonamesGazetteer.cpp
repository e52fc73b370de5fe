#include "GeonamesGazetteer.h"

#include "GazetteerBackend.h"
#include "core/util/LateModule.h"

#include <QtConcurrent>

#include <cstdio>

namespace quillery {

QFuture<GeonamesGazetteer::Index> GeonamesGazetteer::load()
{
    return QtConcurrent::run([] { return std::make_shared<const CityIndex>(GeonamesGazetteer::read()); });
}

CityIndex GeonamesGazetteer::read()
{
    QString why;
    GazetteerBackend *backend = LateModule::load<GazetteerBackend>(QStringLiteral("geonames"), &why);
    if (!backend) {
        // Places are still found online; the offline list stays empty.
        std::fprintf(stderr, "quillery: no offline places: %s\n", qPrintable(why));
        return {};
    }
    return backend->readCities();
}

} // namespace quillery
