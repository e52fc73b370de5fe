// A task server's multistatus answer, or one made to hurt: the reader
// either refuses it with a reason and nothing read, or gives members whose
// statuses are numbers a server could send.
#include "FuzzCheck.h"
#include "core/caldav/DavMultistatus.h"

#include <cstdint>

using namespace quillery;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const DavMultistatus answer
        = DavMultistatus::parse(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    FUZZ_CHECK(answer.ok || (!answer.error.isEmpty() && answer.resources.isEmpty()));
    for (const DavResource &resource : answer.resources)
        FUZZ_CHECK(resource.status >= 0);
    return 0;
}
