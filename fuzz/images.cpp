// Attachment pictures, whatever their bytes: each decodes to a picture within
// the size asked for, or to nothing, and never beyond the decode budget (run
// it with -malloc_limit_mb just above the budget, as scripts/fuzz.sh does, so
// that a larger allocation stops the run).
#include "FuzzCheck.h"
#include "gui/attachments/ImageCodec.h"

#include <QGuiApplication>

#include <cstdint>

using namespace quillery;

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    // Documents with text need fonts, and fonts a GUI application.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication application(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    constexpr int MaxPixel = 64;
    const auto image = decodeThumbnail(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)), MaxPixel);
    if (image)
        FUZZ_CHECK(!image->isNull() && image->width() <= MaxPixel && image->height() <= MaxPixel);
    return 0;
}
