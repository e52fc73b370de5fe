#include "PendingNotificationFile.h"

#include "core/util/SmallFile.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

#include <cmath>

namespace quillery {

namespace {

constexpr int FormatVersion = 1;
// A file this large holds far more than the few dozen requests ever pending.
constexpr qint64 MaxFileBytes = 1024 * 1024;
// The span of dates in milliseconds either side of 1970 (±100,000,000 days).
constexpr double MaxDueMs = 8.64e15;

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
    // The range first: casting a double beyond the integer's range is
    // undefined behaviour.
    const double number = value.toDouble();
    if (!(number >= -1e9 && number <= 1e9) || number != std::trunc(number))
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
        if (!NotificationTrigger::isValidInterval(seconds.toDouble()))
            return std::nullopt;
        // Whole milliseconds within the range of a date; anything else
        // (1e300, a fraction) has no moment to fire at.
        const double moment = due.toDouble();
        if (!(std::abs(moment) <= MaxDueMs) || moment != std::trunc(moment))
            return std::nullopt;
        entry.intervalDue = qint64(moment);
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
    const QJsonArray list = root.value(u"pending").toArray();
    QList<PendingNotification> pending;
    pending.reserve(list.size());
    // One request per identifier, as adding keeps it: a later entry replaces
    // an earlier one in its place.
    QHash<QString, qsizetype> positions;
    for (const QJsonValue &value : list) {
        auto entry = decodeEntry(value);
        if (!entry)
            return std::nullopt;
        const auto found = positions.constFind(entry->request.identifier);
        if (found != positions.cend()) {
            pending[*found] = std::move(*entry);
            continue;
        }
        positions.insert(entry->request.identifier, pending.size());
        pending.append(std::move(*entry));
    }
    return pending;
}

PendingNotificationFile::Loaded PendingNotificationFile::load() const
{
    Loaded loaded;
    SmallFile::Result file = SmallFile::read(m_path, MaxFileBytes);
    if (file.status == SmallFile::Status::Missing)
        return loaded;
    if (file.status == SmallFile::Status::Read) {
        if (auto pending = decode(file.bytes)) {
            loaded.pending = std::move(*pending);
            return loaded;
        }
        file.reason = QStringLiteral("not a complete list of requests");
    }
    loaded.problem = file.reason;
    loaded.movedAside = SmallFile::moveAside(m_path);
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
    // QSaveFile's commit() reports success when only the flush of its
    // buffer fails (a full disk), so the write is flushed and checked first.
    const QByteArray bytes = encode(pending);
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        if (error)
            *error = file.errorString();
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

} // namespace quillery
