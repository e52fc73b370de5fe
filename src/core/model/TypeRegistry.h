#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

namespace quillery {

// A small registry of uniform type identifiers: reverse-DNS names for kinds
// of content ("public.jpeg"), each with the types it conforms to, its file
// name extensions and MIME types. public.jpeg conforms to public.image, which
// conforms to public.data and public.content, and so on up to public.item.
// Extensions the table does not list are looked up through the MIME database
// and mapped back when the MIME type is known here.
//
// The table never changes once built; the program owns one and hands it to
// whatever names, opens or draws attachments.
class TypeRegistry final
{
public:
    struct Type {
        QString identifier;
        QStringList conformsTo; // direct parents
        QStringList extensions; // lower case, without the dot
        QStringList mimeTypes;
    };

    TypeRegistry();

    static QString item() { return QStringLiteral("public.item"); }
    static QString data() { return QStringLiteral("public.data"); }
    static QString content() { return QStringLiteral("public.content"); }
    static QString image() { return QStringLiteral("public.image"); }
    static QString jpeg() { return QStringLiteral("public.jpeg"); }
    static QString png() { return QStringLiteral("public.png"); }
    static QString pdf() { return QStringLiteral("com.adobe.pdf"); }

    bool isKnown(const QString &identifier) const { return m_types.contains(identifier); }
    // Whether content of this type is shown as a picture.
    bool isImage(const QString &identifier) const { return conformsTo(identifier, image()); }

    // True when `identifier` is known and is `parent` or conforms to it,
    // directly or through its parents. Unknown identifiers conform to nothing.
    bool conformsTo(const QString &identifier, const QString &parent) const;

    // The known type for a file name extension (with or without the dot, any
    // case), or an empty string.
    QString typeForExtension(const QString &extension) const;

    // The type of a file from its name's extension, when that type conforms
    // to public.data; otherwise public.data itself.
    QString dataTypeForFileName(const QString &fileName) const;

    // The MIME type of a known type, or application/octet-stream.
    QString mimeType(const QString &identifier) const;

    // The usual extension of a known type, or an empty string.
    QString preferredExtension(const QString &identifier) const;

private:
    void add(Type type);

    QHash<QString, Type> m_types;
    QHash<QString, QString> m_byExtension;
    QHash<QString, QString> m_byMimeType;
};

} // namespace quillery
