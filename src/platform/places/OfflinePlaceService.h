#pragma once

#include "core/places/PlaceService.h"

namespace quillery {

// The offline place service, always available: completes fragments from the
// libgeonames city gazetteer (word prefixes, most populous first) and resolves
// a city suggestion into the city itself. The gazetteer is read the first
// time a completer is made.
class OfflinePlaceService final : public PlaceService
{
public:
    static constexpr int MaxSuggestions = 12;

    std::unique_ptr<PlaceCompleter> makeCompleter() override;
    void search(const PlaceSuggestion &suggestion, QObject *context, SearchCallback done) override;
};

} // namespace quillery
