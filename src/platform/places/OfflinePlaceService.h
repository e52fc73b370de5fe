#pragma once

#include "GeonamesGazetteer.h"
#include "core/places/PlaceService.h"

#include <optional>

namespace quillery {

// The offline place service, always available: completes fragments from the
// libgeonames city gazetteer (word prefixes, most populous first) and resolves
// a city suggestion into the city itself. The gazetteer is read once, the
// first time a completer is made, and kept for the service's lifetime.
class OfflinePlaceService final : public PlaceService
{
public:
    static constexpr int MaxSuggestions = 12;

    std::unique_ptr<PlaceCompleter> makeCompleter() override;
    void search(const PlaceSuggestion &suggestion, QObject *context, SearchCallback done) override;

private:
    std::optional<QFuture<GeonamesGazetteer::Index>> m_index;
};

} // namespace quillery
