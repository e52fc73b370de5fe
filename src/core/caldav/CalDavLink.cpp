#include "CalDavLink.h"

#include "core/util/PrivateFiles.h"
#include "core/util/Uuid.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

namespace quillery {

namespace {

QString str(const QJsonObject &o, const char *key)
{
    return o.value(QLatin1String(key)).toString();
}

QJsonObject toJson(const CalDavLink &link)
{
    QJsonObject items;
    for (auto it = link.items.cbegin(); it != link.items.cend(); ++it) {
        items.insert(it.key(),
            QJsonObject { { QStringLiteral("href"), it->href }, { QStringLiteral("etag"), it->etag },
                { QStringLiteral("task"), uuidString(it->task) },
                { QStringLiteral("synced"), QString::number(it->synced) } });
    }
    return QJsonObject { { QStringLiteral("page"), uuidString(link.page) }, { QStringLiteral("server"), link.server },
        { QStringLiteral("user"), link.user }, { QStringLiteral("collection"), link.collection },
        { QStringLiteral("listName"), link.listName }, { QStringLiteral("syncToken"), link.syncToken },
        { QStringLiteral("ctag"), link.ctag },
        { QStringLiteral("lastSuccess"), link.lastSuccess.toUTC().toString(Qt::ISODateWithMs) },
        { QStringLiteral("items"), items }, { QStringLiteral("queue"), link.queue.toJson() } };
}

CalDavLink fromJson(const QJsonObject &o)
{
    CalDavLink link;
    link.page = uuidFromString(str(o, "page"));
    link.server = str(o, "server");
    link.user = str(o, "user");
    link.collection = str(o, "collection");
    link.listName = str(o, "listName");
    link.syncToken = str(o, "syncToken");
    link.ctag = str(o, "ctag");
    link.lastSuccess = QDateTime::fromString(str(o, "lastSuccess"), Qt::ISODateWithMs);
    const QJsonObject items = o.value(QStringLiteral("items")).toObject();
    for (auto it = items.constBegin(); it != items.constEnd(); ++it) {
        const QJsonObject item = it->toObject();
        link.items.insert(it.key(),
            CalDavItem { str(item, "href"), str(item, "etag"), uuidFromString(str(item, "task")),
                str(item, "synced").toLongLong() });
    }
    link.queue = CalDavQueue::fromJson(o.value(QStringLiteral("queue")).toArray());
    return link;
}

} // namespace

bool CalDavLinkFile::load(QList<CalDavLink> &links, QString *error) const
{
    links.clear();
    QFile file(m_path);
    if (!file.exists())
        return true;
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &parseError);
    if (!document.isObject()) {
        if (error)
            *error = parseError.errorString();
        return false;
    }
    for (const QJsonValue value : document.object().value(QStringLiteral("links")).toArray()) {
        CalDavLink link = fromJson(value.toObject());
        if (!link.page.isNull() && !link.collection.isEmpty())
            links.append(link);
    }
    return true;
}

bool CalDavLinkFile::save(const QList<CalDavLink> &links, QString *error) const
{
    QJsonArray array;
    for (const CalDavLink &link : links)
        array.append(toJson(link));
    const QByteArray bytes = QJsonDocument(QJsonObject { { QStringLiteral("links"), array } }).toJson();
    // Made 0600 first: QSaveFile gives the new file the mode of the old one.
    if (!PrivateFiles::makeFile(m_path, error))
        return false;
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

} // namespace quillery
