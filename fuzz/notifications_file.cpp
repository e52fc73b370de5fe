// The pending-notifications file as a damaged disk or another program may
// leave it: whatever is accepted holds one request per identifier, and once
// written out it reads back as exactly what was written.
#include "FuzzCheck.h"
#include "platform/notifications/PendingNotificationFile.h"

#include <QSet>

#include <cstdint>

using namespace quillery;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const auto read
        = PendingNotificationFile::decode(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    if (!read)
        return 0;
    QSet<QString> identifiers;
    for (const PendingNotification &entry : *read)
        identifiers.insert(entry.request.identifier);
    FUZZ_CHECK(identifiers.size() == read->size());

    const QByteArray written = PendingNotificationFile::encode(*read);
    const auto again = PendingNotificationFile::decode(written);
    FUZZ_CHECK(again);
    FUZZ_CHECK(PendingNotificationFile::encode(*again) == written);
    return 0;
}
