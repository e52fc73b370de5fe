#include "SvgDocument.h"

#include "ImageCodec.h"
#include "core/attachments/ImageFormat.h"

#include <QXmlStreamReader>

#include <limits>
#include <zlib.h>

namespace quillery {

namespace {

// The bytes of a data: URL, or none for any other reference.
std::optional<QByteArray> dataUrlBytes(QStringView href)
{
    if (!href.trimmed().startsWith(u"data:", Qt::CaseInsensitive))
        return std::nullopt;
    const QByteArray url = href.trimmed().toLatin1();
    const qsizetype comma = url.indexOf(',');
    if (comma < 0)
        return std::nullopt;
    const QByteArray header = url.left(comma);
    const QByteArray payload = url.mid(comma + 1);
    if (header.endsWith(";base64"))
        return QByteArray::fromBase64(payload);
    return QByteArray::fromPercentEncoding(payload);
}

} // namespace

std::optional<QByteArray> SvgDocument::inflate(const QByteArray &data, qsizetype maxBytes)
{
    z_stream stream {};
    if (data.size() > qsizetype(std::numeric_limits<uInt>::max()) || inflateInit2(&stream, 16 + MAX_WBITS) != Z_OK)
        return std::nullopt;
    QByteArray out;
    stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(data.constData()));
    stream.avail_in = uInt(data.size());
    constexpr qsizetype Step = 64 * 1024;
    bool ok = true;
    while (ok) {
        const qsizetype filled = out.size();
        out.resize(std::min(filled + Step, maxBytes + 1));
        stream.next_out = reinterpret_cast<Bytef *>(out.data() + filled);
        stream.avail_out = uInt(out.size() - filled);
        const int result = ::inflate(&stream, Z_NO_FLUSH);
        out.truncate(out.size() - qsizetype(stream.avail_out));
        if (out.size() > maxBytes) {
            ok = false;
        } else if (result == Z_STREAM_END) {
            // gzip allows several members one after another.
            if (stream.avail_in == 0)
                break;
            ok = inflateReset(&stream) == Z_OK;
        } else if (result != Z_OK) {
            ok = false; // damaged, or cut short (no progress possible)
        } else if (stream.avail_in == 0 && stream.avail_out != 0) {
            ok = false; // the data ends inside a member
        }
    }
    inflateEnd(&stream);
    if (!ok)
        return std::nullopt;
    return out;
}

std::optional<SvgDocument::Checked> SvgDocument::toDraw(const QByteArray &data, const QByteArray &format)
{
    std::optional<QByteArray> text;
    if (format == "svgz")
        text = inflate(data, MaxBytes);
    else if (format == "svg" && data.size() <= MaxBytes)
        text = data;
    // The inflated text must be plain SVG: the library would inflate a
    // second layer of compression itself, without any cap.
    if (!text || imageFormatOf(*text) != "svg")
        return std::nullopt;
    const std::optional<qint64> embedded = check(*text);
    if (!embedded)
        return std::nullopt;
    return Checked { std::move(*text), *embedded };
}

std::optional<qint64> SvgDocument::check(const QByteArray &text)
{
    QXmlStreamReader reader(text);
    int elements = 0;
    qint64 embeddedBytes = 0;
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (++elements > MaxElements)
            return std::nullopt;
        if (reader.name() != u"image")
            continue;
        const QXmlStreamAttributes attributes = reader.attributes();
        QStringView href = attributes.value(QStringLiteral("xlink:href"));
        if (href.isEmpty())
            href = attributes.value(QStringLiteral("href"));
        if (href.trimmed().isEmpty())
            continue; // nothing to load
        const std::optional<QByteArray> bytes = dataUrlBytes(href);
        if (!bytes)
            return std::nullopt;
        const std::optional<qint64> cost = rasterDecodeCost(*bytes);
        if (!cost)
            return std::nullopt;
        embeddedBytes += *cost;
        if (embeddedBytes > DecodeBudgetBytes)
            return std::nullopt;
    }
    if (reader.hasError())
        return std::nullopt;
    return embeddedBytes;
}

} // namespace quillery
