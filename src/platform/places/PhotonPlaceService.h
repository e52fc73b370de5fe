#pragma once

#include "NetworkAccess.h"
#include "core/places/PlaceService.h"

#include <QUrl>

namespace quillery {

// The online place service: addresses and points of interest from a
// Photon-compatible geocoder over HTTP. Suggestions carry their full answer,
// so resolving one needs no second request.
class PhotonPlaceService final : public PlaceService
{
public:
    struct Options {
        QUrl endpoint; // e.g. https://photon.komoot.io/api/
        int debounceMs = 250; // quiet time after a keystroke before asking
        int timeoutMs = 6000; // for the whole exchange
        qint64 maxBytes = 1024 * 1024;
        int limit = 10; // suggestions asked for
    };
    // Fragments longer than this are cut before they are sent.
    static constexpr qsizetype MaxFragmentLength = 200;

    explicit PhotonPlaceService(Options options);

    const Options &options() const { return m_options; }

    std::unique_ptr<PlaceCompleter> makeCompleter() override;
    void search(const PlaceSuggestion &suggestion, QObject *context, SearchCallback done) override;

private:
    Options m_options;
    NetworkAccess m_network;
};

} // namespace quillery
