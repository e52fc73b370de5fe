#include "ImageFormat.h"

namespace quillery {

namespace {

// How far into a text document its root element may start (after an XML
// declaration, comments and a document type).
constexpr qsizetype SvgSniffBytes = 4096;

bool startsWith(const QByteArray &data, const char *magic, qsizetype length, qsizetype at = 0)
{
    return data.size() >= at + length && QByteArrayView(data).sliced(at, length) == QByteArrayView(magic, length);
}

bool looksLikeSvg(const QByteArray &data)
{
    QByteArrayView text(data.constData(), std::min(data.size(), SvgSniffBytes));
    if (text.startsWith("\xEF\xBB\xBF"))
        text = text.sliced(3);
    while (!text.isEmpty()
        && (text.front() == ' ' || text.front() == '\t' || text.front() == '\r' || text.front() == '\n'))
        text = text.sliced(1);
    return text.startsWith('<') && text.contains("<svg");
}

} // namespace

QByteArray imageFormatOf(const QByteArray &data)
{
    if (startsWith(data, "\xFF\xD8\xFF", 3))
        return "jpeg";
    if (startsWith(data, "\x89PNG\r\n\x1A\n", 8))
        return "png";
    if (startsWith(data, "GIF87a", 6) || startsWith(data, "GIF89a", 6))
        return "gif";
    if (startsWith(data, "BM", 2))
        return "bmp";
    if (startsWith(data, "II*\0", 4) || startsWith(data, "MM\0*", 4))
        return "tiff";
    if (startsWith(data, "RIFF", 4) && startsWith(data, "WEBP", 4, 8))
        return "webp";
    if (startsWith(data, "\x1F\x8B", 2))
        return "svgz";
    if (looksLikeSvg(data))
        return "svg";
    return {};
}

} // namespace quillery
