// The geocoder's answer, as any server on the network may send it: whatever
// the parser accepts is a short list of places on the globe whose texts are
// clean, bounded and one line.
#include "FuzzCheck.h"
#include "core/places/PhotonParser.h"
#include "core/places/PlaceRules.h"
#include "core/places/PlaceText.h"

#include <cstdint>

using namespace quillery;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const auto parsed = PhotonParser::parse(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    if (!parsed)
        return 0;
    FUZZ_CHECK(parsed->size() <= PhotonParser::MaxFeatures);
    for (const PlaceSuggestion &suggestion : *parsed) {
        FUZZ_CHECK(suggestion.item);
        FUZZ_CHECK(PlaceRules::isValidCoordinate(suggestion.item->latitude, suggestion.item->longitude));
        FUZZ_CHECK(!suggestion.title.isEmpty());
        for (const QString *text : { &suggestion.title, &suggestion.subtitle, &suggestion.item->name,
                 &suggestion.item->street, &suggestion.item->locality }) {
            FUZZ_CHECK(text->size() <= PlaceText::MaxLength);
            FUZZ_CHECK(PlaceText::clean(*text) == *text);
        }
    }
    return 0;
}
