// Places: answering a keystroke from the city gazetteer, merging the two
// providers' suggestions, reading a geocoder answer.
#include "core/places/CityIndex.h"
#include "core/places/PhotonParser.h"
#include "core/places/PlaceRules.h"
#include "platform/places/GeonamesGazetteer.h"

#include <QStringList>
#include <benchmark/benchmark.h>

using namespace quillery;

// libgeonames' own query, measured for comparison only (the program answers
// keystrokes from its index instead). Declared here because its header needs
// GLib's; the library is linked through the platform layer.
extern "C" int *geonames_query_cities_sync(
    const char *query, int flags, unsigned *length, void *cancellable, void **error);
extern "C" void g_free(void *memory);

namespace {

const CityIndex &gazetteer()
{
    static const CityIndex index = GeonamesGazetteer::read();
    return index;
}

// What typing "Berlin" and then "San Francisco" asks, one keystroke at a time.
const QStringList Keystrokes = { "B", "Be", "Ber", "Berl", "Berli", "Berlin", "S", "Sa", "San", "San ", "San F",
    "San Fr", "San Fra", "San Fran", "San Franc", "San Franci", "San Francis", "San Francisc", "San Francisco" };

// The offline completer's whole answer to one keystroke: the index query and
// the suggestions built from it.
void BM_OfflineKeystroke(benchmark::State &state)
{
    const CityIndex &index = gazetteer();
    qsizetype next = 0;
    for (auto _ : state) {
        const QString &typed = Keystrokes.at(next++ % Keystrokes.size());
        QList<PlaceSuggestion> results;
        for (const qsizetype i : index.find(typed, 12))
            results.append(CityIndex::suggestion(index.city(i)));
        benchmark::DoNotOptimize(results);
    }
    state.SetLabel("mean over the keystrokes of \"Berlin\" and \"San Francisco\"");
}
BENCHMARK(BM_OfflineKeystroke)->Unit(benchmark::kMicrosecond);

// The worst keystroke: one letter matches thousands of names.
void BM_OfflineKeystrokeOneLetter(benchmark::State &state)
{
    const CityIndex &index = gazetteer();
    for (auto _ : state)
        benchmark::DoNotOptimize(index.find(QStringLiteral("s"), 12));
}
BENCHMARK(BM_OfflineKeystrokeOneLetter)->Unit(benchmark::kMicrosecond);

// Reading the gazetteer into the index: once per run, on a worker thread.
void BM_GazetteerRead(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(GeonamesGazetteer::read());
}
BENCHMARK(BM_GazetteerRead)->Unit(benchmark::kMillisecond)->Iterations(3);

// For comparison: libgeonames' own query for one keystroke.
void BM_LibgeonamesQuery(benchmark::State &state)
{
    gazetteer(); // the library's data is loaded already
    for (auto _ : state) {
        unsigned length = 0;
        int *found = geonames_query_cities_sync("Berl", 0, &length, nullptr, nullptr);
        benchmark::DoNotOptimize(length);
        g_free(found);
    }
}
BENCHMARK(BM_LibgeonamesQuery)->Unit(benchmark::kMillisecond)->Iterations(5);

PlaceSuggestion made(int i, const QString &source)
{
    PlaceItem item;
    item.name = QStringLiteral("Place %1").arg(i);
    item.latitude = 40 + i * 0.01;
    item.longitude = -3 + i * 0.01;
    item.street = QStringLiteral("Calle Mayor");
    item.locality = QStringLiteral("Madrid");
    return { item.name, QStringLiteral("Calle Mayor, Madrid, Comunidad de Madrid, España"), source, item };
}

// 50 online and 50 offline suggestions, a fifth of the offline ones
// duplicating online ones.
void BM_Merge50And50(benchmark::State &state)
{
    QList<PlaceSuggestion> online;
    QList<PlaceSuggestion> offline;
    for (int i = 0; i < 50; ++i) {
        online.append(made(i, PlaceSources::Online));
        offline.append(made(i % 5 == 0 ? i : 100 + i, PlaceSources::Offline));
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(PlaceRules::merge(online, offline));
}
BENCHMARK(BM_Merge50And50)->Unit(benchmark::kMicrosecond);

// Reading a geocoder answer of ten features (a typical one).
void BM_ParseGeocoderAnswer(benchmark::State &state)
{
    QByteArray answer = "{\"type\":\"FeatureCollection\",\"features\":[";
    for (int i = 0; i < 10; ++i) {
        answer += "{\"type\":\"Feature\",\"geometry\":{\"type\":\"Point\",\"coordinates\":[13.37"
            + QByteArray::number(i)
            + ",52.51]},\"properties\":{\"name\":\"Brandenburger Tor\",\"street\":\"Pariser Platz\","
              "\"housenumber\":\"1\",\"city\":\"Berlin\",\"state\":\"Berlin\",\"country\":\"Deutschland\","
              "\"osm_key\":\"tourism\",\"osm_value\":\"attraction\"}},";
    }
    answer.chop(1);
    answer += "]}";
    for (auto _ : state)
        benchmark::DoNotOptimize(PhotonParser::parse(answer));
}
BENCHMARK(BM_ParseGeocoderAnswer)->Unit(benchmark::kMicrosecond);

} // namespace
