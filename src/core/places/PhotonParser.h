#pragma once

#include "PlaceSuggestion.h"

#include <QByteArray>
#include <QList>

#include <optional>

namespace quillery {

// Reads the answer of a Photon-compatible geocoder (a GeoJSON feature
// collection) into suggestions that carry their resolved item. The answer
// comes from the network and is treated as hostile: anything that is not the
// expected shape is skipped, coordinates that cannot be shown on a map are
// dropped with their feature, and every text is cleaned to plain one-line text.
class PhotonParser final
{
public:
    // At most this many features are read from one answer.
    static constexpr int MaxFeatures = 50;

    // The suggestions of an answer, or none when the answer is not a JSON
    // object with a "features" array at all.
    static std::optional<QList<PlaceSuggestion>> parse(const QByteArray &json);
};

} // namespace quillery
