#include "DavMultistatus.h"

#include <QXmlStreamReader>

namespace quillery {

namespace {

const QString Dav = QStringLiteral("DAV:");
const QString CalDav = QStringLiteral("urn:ietf:params:xml:ns:caldav");
const QString CalServer = QStringLiteral("http://calendarserver.org/ns/");

int statusCode(const QString &line)
{
    // "HTTP/1.1 404 Not Found"
    const QStringList parts = line.simplified().split(u' ');
    return parts.size() >= 2 ? parts.at(1).toInt() : 0;
}

// The text of the first <href> inside the current element, which is left
// read to its end.
QString innerHref(QXmlStreamReader &xml)
{
    QString href;
    const int depth = 1;
    int level = depth;
    while (level > 0 && !xml.atEnd()) {
        const auto token = xml.readNext();
        if (token == QXmlStreamReader::StartElement) {
            if (xml.namespaceUri() == Dav && xml.name() == u"href" && href.isEmpty()) {
                href = xml.readElementText().trimmed();
                continue;
            }
            ++level;
        } else if (token == QXmlStreamReader::EndElement) {
            --level;
        }
    }
    return href;
}

void readProp(QXmlStreamReader &xml, DavResource &into)
{
    while (xml.readNextStartElement()) {
        const auto ns = xml.namespaceUri();
        const auto name = xml.name();
        if (ns == Dav && name == u"getetag") {
            into.etag = xml.readElementText().trimmed();
        } else if (ns == Dav && name == u"displayname") {
            into.displayName = xml.readElementText().trimmed();
        } else if (ns == Dav && name == u"sync-token") {
            into.syncToken = xml.readElementText().trimmed();
        } else if (ns == CalServer && name == u"getctag") {
            into.ctag = xml.readElementText().trimmed();
        } else if (ns == Dav && name == u"current-user-principal") {
            into.principal = innerHref(xml);
        } else if (ns == CalDav && name == u"calendar-home-set") {
            into.calendarHome = innerHref(xml);
        } else if (ns == CalDav && name == u"calendar-data") {
            into.calendarData = xml.readElementText().toUtf8();
        } else if (ns == Dav && name == u"resourcetype") {
            while (xml.readNextStartElement()) {
                if (xml.namespaceUri() == CalDav && xml.name() == u"calendar")
                    into.isCalendar = true;
                xml.skipCurrentElement();
            }
        } else if (ns == CalDav && name == u"supported-calendar-component-set") {
            while (xml.readNextStartElement()) {
                if (xml.namespaceUri() == CalDav && xml.name() == u"comp")
                    into.components << xml.attributes().value(QStringLiteral("name")).toString().toUpper();
                xml.skipCurrentElement();
            }
        } else {
            xml.skipCurrentElement();
        }
    }
}

DavResource readResponse(QXmlStreamReader &xml)
{
    DavResource resource;
    int ownStatus = 0;
    int propStatus = 0;
    while (xml.readNextStartElement()) {
        const auto name = xml.name();
        if (xml.namespaceUri() != Dav) {
            xml.skipCurrentElement();
        } else if (name == u"href") {
            resource.href = xml.readElementText().trimmed();
        } else if (name == u"status") {
            ownStatus = statusCode(xml.readElementText());
        } else if (name == u"propstat") {
            // The properties are read into a copy and kept only when the
            // propstat says they were found.
            DavResource found;
            int status = 0;
            while (xml.readNextStartElement()) {
                if (xml.namespaceUri() == Dav && xml.name() == u"prop")
                    readProp(xml, found);
                else if (xml.namespaceUri() == Dav && xml.name() == u"status")
                    status = statusCode(xml.readElementText());
                else
                    xml.skipCurrentElement();
            }
            if (status >= 200 && status < 300) {
                propStatus = status;
                const QString href = resource.href;
                found.href = href;
                resource = found;
            } else if (propStatus == 0) {
                propStatus = status;
            }
        } else {
            xml.skipCurrentElement();
        }
    }
    resource.status = ownStatus ? ownStatus : (propStatus ? propStatus : 200);
    return resource;
}

} // namespace

DavMultistatus DavMultistatus::parse(const QByteArray &body)
{
    DavMultistatus out;
    QXmlStreamReader xml(body);
    if (!xml.readNextStartElement() || xml.namespaceUri() != Dav || xml.name() != u"multistatus") {
        out.error = xml.hasError() ? xml.errorString() : QStringLiteral("not a multistatus answer");
        return out;
    }
    while (xml.readNextStartElement()) {
        if (xml.namespaceUri() == Dav && xml.name() == u"response")
            out.resources.append(readResponse(xml));
        else if (xml.namespaceUri() == Dav && xml.name() == u"sync-token")
            out.syncToken = xml.readElementText().trimmed();
        else
            xml.skipCurrentElement();
    }
    if (xml.hasError()) {
        out.error = xml.errorString();
        out.resources.clear();
        return out;
    }
    out.ok = true;
    return out;
}

} // namespace quillery
