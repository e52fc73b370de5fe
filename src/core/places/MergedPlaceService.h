#pragma once

#include "PlaceService.h"

namespace quillery {

// The place service the picker uses: the offline gazetteer always, and the
// online provider when there is one. Suggestions of both are merged, online
// first, without duplicates; a failing online provider leaves the offline
// suggestions standing. A suggestion is resolved by the provider that made it.
class MergedPlaceService final : public PlaceService
{
public:
    // `online` may be null (no online provider configured).
    MergedPlaceService(PlaceService *online, PlaceService &offline);

    std::unique_ptr<PlaceCompleter> makeCompleter() override;
    void search(const PlaceSuggestion &suggestion, QObject *context, SearchCallback done) override;

private:
    PlaceService *m_online;
    PlaceService &m_offline;
};

} // namespace quillery
