#include "PendingNotificationFile.h"

#include <QDateTime>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

namespace quillery {

namespace {

constexpr int FormatVersion = 1;

using Level = NotificationRequest::InterruptionLevel;
using Sound = NotificationRequest::Sound;

QJsonObject encodeTrigger(const PendingNotification &entry)
{
    const NotificationTrigger &trigger = entry.request.trigger;
    QJsonObject object;
    if (trigger.kind() == NotificationTrigger::Kind::Calendar) {
        const CalendarContext::Components &c = trigger.components();
        object[u"kind"] = QStringLiteral("calendar");
        object[u"year"] = c.year;
        object[u"month"] = c.month;
        object[u"day"] = c.day;
        object[u"hour"] = c.hour;
        object[u"minute"] = c.minute;
        object[u"second"] = c.second;
    } else {
        object[u"kind"] = QStringLiteral("timeInterval");
        object[u"seconds"] = trigger.seconds();
        // Integral milliseconds fit a double exactly for many millennia.
        object[u"due"] = double(entry.intervalDue.value_or(0));
    }
    return object;
}

std::optional<int> integer(const QJsonObject &object, QStringView key)
{
    const QJsonValue value = object.value(key);
    if (!value.isDouble())
        return std::nullopt;
    const double number = value.toDouble();
    if (number != double(qint64(number)) || number < -1e9 || number > 1e9)
        return std::nullopt;
    return int(number);
}

std::optional<PendingNotification> decodeEntry(const QJsonValue &value)
{
    if (!value.isObject())
        return std::nullopt;
    const QJsonObject object = value.toObject();
    for (const char16_t *key : { u"identifier", u"title", u"subtitle", u"body" }) {
        if (!object.value(key).isString())
            return std::nullopt;
    }
    PendingNotification entry;
    NotificationRequest &request = entry.request;
    request.identifier = object.value(u"identifier").toString();
    request.title = object.value(u"title").toString();
    request.subtitle = object.value(u"subtitle").toString();
    request.body = object.value(u"body").toString();
    if (request.identifier.isEmpty())
        return std::nullopt;

    const QString sound = object.value(u"sound").toString();
    if (sound == u"default")
        request.sound = Sound::Default;
    else if (sound == u"none")
        request.sound = Sound::None;
    else
        return std::nullopt;

    const auto level = integer(object, u"interruptionLevel");
    if (!level || *level < int(Level::Passive) || *level > int(Level::Critical))
        return std::nullopt;
    request.interruptionLevel = Level(*level);

    const QJsonObject trigger = object.value(u"trigger").toObject();
    const QString kind = trigger.value(u"kind").toString();
    if (kind == u"calendar") {
        CalendarContext::Components c;
        int *fields[] = { &c.year, &c.month, &c.day, &c.hour, &c.minute, &c.second };
        const char16_t *keys[] = { u"year", u"month", u"day", u"hour", u"minute", u"second" };
        for (int i = 0; i < 6; ++i) {
            const auto field = integer(trigger, keys[i]);
            if (!field)
                return std::nullopt;
            *fields[i] = *field;
        }
        request.trigger = NotificationTrigger::calendar(c);
    } else if (kind == u"timeInterval") {
        const QJsonValue seconds = trigger.value(u"seconds");
        const QJsonValue due = trigger.value(u"due");
        if (!seconds.isDouble() || !due.isDouble())
            return std::nullopt;
        request.trigger = NotificationTrigger::timeInterval(seconds.toDouble());
        entry.intervalDue = qint64(due.toDouble());
    } else {
        return std::nullopt;
    }
    return entry;
}

} // namespace

PendingNotificationFile::PendingNotificationFile(QString path)
    : m_path(std::move(path))
{ }

QByteArray PendingNotificationFile::encode(const QList<PendingNotification> &pending)
{
    QJsonArray list;
    for (const PendingNotification &entry : pending) {
        const NotificationRequest &request = entry.request;
        QJsonObject object;
        object[u"identifier"] = request.identifier;
        object[u"title"] = request.title;
        object[u"subtitle"] = request.subtitle;
        object[u"body"] = request.body;
        object[u"sound"] = request.sound == Sound::Default ? QStringLiteral("default") : QStringLiteral("none");
        object[u"interruptionLevel"] = int(request.interruptionLevel);
        object[u"trigger"] = encodeTrigger(entry);
        list.append(object);
    }
    QJsonObject root;
    root[u"format"] = FormatVersion;
    root[u"pending"] = list;
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

std::optional<QList<PendingNotification>> PendingNotificationFile::decode(const QByteArray &data)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(data, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    const QJsonObject root = document.object();
    if (integer(root, u"format") != FormatVersion || !root.value(u"pending").isArray())
        return std::nullopt;
    QList<PendingNotification> pending;
    for (const QJsonValue &value : root.value(u"pending").toArray()) {
        auto entry = decodeEntry(value);
        if (!entry)
            return std::nullopt;
        pending.append(std::move(*entry));
    }
    return pending;
}

PendingNotificationFile::Loaded PendingNotificationFile::load() const
{
    Loaded loaded;
    QFile file(m_path);
    if (!file.exists())
        return loaded;
    if (file.open(QIODevice::ReadOnly)) {
        if (auto pending = decode(file.readAll())) {
            loaded.pending = std::move(*pending);
            return loaded;
        }
        file.close();
    }
    // Kept beside the original name, never overwritten, for whoever wants to
    // see what went wrong.
    const QString stamp = QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'"));
    QString aside = m_path + QStringLiteral(".damaged-") + stamp;
    for (int n = 2; QFile::exists(aside); ++n)
        aside = m_path + QStringLiteral(".damaged-%1-%2").arg(stamp).arg(n);
    if (QFile::rename(m_path, aside))
        loaded.movedAside = aside;
    return loaded;
}

bool PendingNotificationFile::save(const QList<PendingNotification> &pending, QString *error) const
{
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    // Task titles and page names: for this user only, whatever the umask.
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    file.write(encode(pending));
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

} // namespace quillery
