#include "MergedPlaceService.h"

#include "MergedPlaceCompleter.h"

namespace quillery {

MergedPlaceService::MergedPlaceService(PlaceService *online, PlaceService &offline)
    : m_online(online)
    , m_offline(offline)
{ }

std::unique_ptr<PlaceCompleter> MergedPlaceService::makeCompleter()
{
    return std::make_unique<MergedPlaceCompleter>(
        m_online ? m_online->makeCompleter() : nullptr, m_offline.makeCompleter());
}

void MergedPlaceService::search(const PlaceSuggestion &suggestion, QObject *context, SearchCallback done)
{
    if (suggestion.source == PlaceSources::Online && m_online)
        m_online->search(suggestion, context, std::move(done));
    else
        m_offline.search(suggestion, context, std::move(done));
}

} // namespace quillery
