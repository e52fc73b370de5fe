#include "TypeRegistry.h"

#include <QFileInfo>
#include <QMimeDatabase>

namespace quillery {

TypeRegistry::TypeRegistry()
{
    const auto L = [](std::initializer_list<const char *> items) {
        QStringList list;
        for (const char *item : items)
            list.append(QString::fromLatin1(item));
        return list;
    };
    // Abstract roots.
    add({ item(), {}, {}, {} });
    add({ content(), {}, {}, {} });
    add({ data(), L({ "public.item" }), {}, L({ "application/octet-stream" }) });
    add({ QStringLiteral("public.composite-content"), L({ "public.content" }), {}, {} });
    add({ QStringLiteral("public.text"), L({ "public.data", "public.content" }), {}, {} });
    add({ image(), L({ "public.data", "public.content" }), {}, {} });
    add({ QStringLiteral("public.audiovisual-content"), L({ "public.data", "public.content" }), {}, {} });
    add({ QStringLiteral("public.movie"), L({ "public.audiovisual-content" }), {}, {} });
    add({ QStringLiteral("public.audio"), L({ "public.audiovisual-content" }), {}, {} });
    add({ QStringLiteral("public.archive"), L({ "public.data" }), {}, {} });
    add({ QStringLiteral("public.presentation"), L({ "public.composite-content" }), {}, {} });
    add({ QStringLiteral("public.spreadsheet"), L({ "public.content" }), {}, {} });

    // Images.
    add({ jpeg(), L({ "public.image" }), L({ "jpg", "jpeg", "jpe" }), L({ "image/jpeg" }) });
    add({ png(), L({ "public.image" }), L({ "png" }), L({ "image/png" }) });
    add({ QStringLiteral("com.compuserve.gif"), L({ "public.image" }), L({ "gif" }), L({ "image/gif" }) });
    add({ QStringLiteral("public.tiff"), L({ "public.image" }), L({ "tif", "tiff" }), L({ "image/tiff" }) });
    add({ QStringLiteral("com.microsoft.bmp"), L({ "public.image" }), L({ "bmp" }), L({ "image/bmp" }) });
    add({ QStringLiteral("org.webmproject.webp"), L({ "public.image" }), L({ "webp" }), L({ "image/webp" }) });
    add({ QStringLiteral("public.heic"), L({ "public.image" }), L({ "heic" }), L({ "image/heic" }) });
    add({ QStringLiteral("public.heif"), L({ "public.image" }), L({ "heif" }), L({ "image/heif" }) });
    add({ QStringLiteral("public.svg-image"), L({ "public.image", "public.xml" }), L({ "svg", "svgz" }),
        L({ "image/svg+xml" }) });
    add({ QStringLiteral("public.avif"), L({ "public.image" }), L({ "avif" }), L({ "image/avif" }) });

    // Documents and text.
    add({ pdf(), L({ "public.data", "public.composite-content" }), L({ "pdf" }), L({ "application/pdf" }) });
    add({ QStringLiteral("public.plain-text"), L({ "public.text" }), L({ "txt", "text", "md", "markdown", "log" }),
        L({ "text/plain", "text/markdown" }) });
    add({ QStringLiteral("public.utf8-plain-text"), L({ "public.plain-text" }), {}, {} });
    add({ QStringLiteral("public.comma-separated-values-text"), L({ "public.plain-text" }), L({ "csv" }),
        L({ "text/csv" }) });
    add({ QStringLiteral("public.html"), L({ "public.text" }), L({ "html", "htm" }), L({ "text/html" }) });
    add({ QStringLiteral("public.xml"), L({ "public.text" }), L({ "xml" }), L({ "application/xml", "text/xml" }) });
    add({ QStringLiteral("public.json"), L({ "public.text" }), L({ "json" }), L({ "application/json" }) });
    add({ QStringLiteral("public.rtf"), L({ "public.text" }), L({ "rtf" }), L({ "text/rtf", "application/rtf" }) });
    add({ QStringLiteral("public.calendar-event"), L({ "public.data" }), L({ "ics" }), L({ "text/calendar" }) });
    add({ QStringLiteral("public.vcard"), L({ "public.text" }), L({ "vcf" }), L({ "text/vcard" }) });
    add({ QStringLiteral("org.openxmlformats.wordprocessingml.document"),
        L({ "public.data", "public.composite-content" }), L({ "docx" }),
        L({ "application/vnd.openxmlformats-officedocument.wordprocessingml.document" }) });
    add({ QStringLiteral("org.openxmlformats.spreadsheetml.sheet"), L({ "public.data", "public.spreadsheet" }),
        L({ "xlsx" }), L({ "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet" }) });
    add({ QStringLiteral("org.openxmlformats.presentationml.presentation"), L({ "public.data", "public.presentation" }),
        L({ "pptx" }), L({ "application/vnd.openxmlformats-officedocument.presentationml.presentation" }) });
    add({ QStringLiteral("org.oasis-open.opendocument.text"), L({ "public.data", "public.composite-content" }),
        L({ "odt" }), L({ "application/vnd.oasis.opendocument.text" }) });
    add({ QStringLiteral("org.oasis-open.opendocument.spreadsheet"), L({ "public.data", "public.spreadsheet" }),
        L({ "ods" }), L({ "application/vnd.oasis.opendocument.spreadsheet" }) });
    add({ QStringLiteral("com.microsoft.word.doc"), L({ "public.data", "public.composite-content" }), L({ "doc" }),
        L({ "application/msword" }) });
    add({ QStringLiteral("com.microsoft.excel.xls"), L({ "public.data", "public.spreadsheet" }), L({ "xls" }),
        L({ "application/vnd.ms-excel" }) });

    // Archives and media.
    add({ QStringLiteral("public.zip-archive"), L({ "public.archive" }), L({ "zip" }), L({ "application/zip" }) });
    add({ QStringLiteral("org.gnu.gnu-zip-archive"), L({ "public.archive" }), L({ "gz", "gzip" }),
        L({ "application/gzip" }) });
    add({ QStringLiteral("public.tar-archive"), L({ "public.archive" }), L({ "tar" }), L({ "application/x-tar" }) });
    add({ QStringLiteral("public.mpeg-4"), L({ "public.movie" }), L({ "mp4" }), L({ "video/mp4" }) });
    add({ QStringLiteral("public.mp3"), L({ "public.audio" }), L({ "mp3" }), L({ "audio/mpeg" }) });
    add({ QStringLiteral("public.mpeg-4-audio"), L({ "public.audio" }), L({ "m4a" }), L({ "audio/mp4" }) });
    add({ QStringLiteral("com.microsoft.waveform-audio"), L({ "public.audio" }), L({ "wav" }),
        L({ "audio/wav", "audio/x-wav" }) });
    add({ QStringLiteral("org.xiph.ogg"), L({ "public.audio" }), L({ "ogg", "oga" }), L({ "audio/ogg" }) });
}

void TypeRegistry::add(Type type)
{
    for (const QString &extension : std::as_const(type.extensions))
        m_byExtension.insert(extension, type.identifier);
    for (const QString &mime : std::as_const(type.mimeTypes))
        m_byMimeType.insert(mime, type.identifier);
    m_types.insert(type.identifier, std::move(type));
}

bool TypeRegistry::conformsTo(const QString &identifier, const QString &parent) const
{
    const auto found = m_types.constFind(identifier);
    if (found == m_types.constEnd())
        return false;
    if (identifier == parent)
        return true;
    for (const QString &next : found->conformsTo) {
        if (conformsTo(next, parent))
            return true;
    }
    return false;
}

QString TypeRegistry::typeForExtension(const QString &extension) const
{
    QString ext = extension.toLower();
    if (ext.startsWith(u'.'))
        ext.remove(0, 1);
    if (ext.isEmpty())
        return {};
    if (const auto found = m_byExtension.constFind(ext); found != m_byExtension.constEnd())
        return *found;
    const QMimeType mime = QMimeDatabase().mimeTypeForFile(QStringLiteral("x.") + ext, QMimeDatabase::MatchExtension);
    if (!mime.isValid() || mime.isDefault())
        return {};
    if (const auto found = m_byMimeType.constFind(mime.name()); found != m_byMimeType.constEnd())
        return *found;
    for (const QString &alias : mime.aliases()) {
        if (const auto found = m_byMimeType.constFind(alias); found != m_byMimeType.constEnd())
            return *found;
    }
    return {};
}

QString TypeRegistry::dataTypeForFileName(const QString &fileName) const
{
    const QString suffix = QFileInfo(fileName).suffix();
    const QString type = typeForExtension(suffix);
    if (!type.isEmpty() && conformsTo(type, data()))
        return type;
    return data();
}

QString TypeRegistry::mimeType(const QString &identifier) const
{
    const auto found = m_types.constFind(identifier);
    if (found == m_types.constEnd() || found->mimeTypes.isEmpty())
        return QStringLiteral("application/octet-stream");
    return found->mimeTypes.first();
}

QString TypeRegistry::preferredExtension(const QString &identifier) const
{
    const auto found = m_types.constFind(identifier);
    if (found == m_types.constEnd() || found->extensions.isEmpty())
        return {};
    return found->extensions.first();
}

} // namespace quillery
