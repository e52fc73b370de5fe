#include "TaskVtodo.h"

#include "core/model/Attachment.h"
#include "core/model/Store.h"
#include "core/model/TaskItem.h"
#include "core/model/TypeRegistry.h"
#include "core/util/CalendarContext.h"
#include "core/util/Uuid.h"

#include <libical/ical.h>

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>

#include <QCoreApplication>
#include <QMimeDatabase>
#include <QTimeZone>

#include <cmath>
#include <cstdlib>
#include <cstring>

namespace quillery {

namespace {

constexpr const char *OrderName = "X-QUILLERY-ORDER";
constexpr const char *AddressName = "X-QUILLERY-ADDRESS";
constexpr const char *TypeParameter = "X-QUILLERY-TYPE";

QByteArray utf8(const QString &text)
{
    return text.toUtf8();
}

icaltimetype utcTime(const QDateTime &moment)
{
    return icaltime_from_timet_with_zone(moment.toSecsSinceEpoch(), 0, icaltimezone_get_utc_timezone());
}

void addX(icalcomponent *component, const char *name, const QString &value)
{
    icalproperty *property = icalproperty_new_x(utf8(value).constData());
    icalproperty_set_x_name(property, name);
    icalcomponent_add_property(component, property);
}

const char *xName(icalproperty *property)
{
    return icalproperty_isa(property) == ICAL_X_PROPERTY ? icalproperty_get_x_name(property) : nullptr;
}

bool isX(icalproperty *property, const char *name)
{
    const char *found = xName(property);
    return found && qstricmp(found, name) == 0;
}

const char *xParameter(icalproperty *property, const char *name)
{
    for (icalparameter *p = icalproperty_get_first_parameter(property, ICAL_X_PARAMETER); p;
         p = icalproperty_get_next_parameter(property, ICAL_X_PARAMETER)) {
        if (qstricmp(icalparameter_get_xname(p), name) == 0)
            return icalparameter_get_xvalue(p);
    }
    return nullptr;
}

bool isParentLink(icalproperty *property)
{
    icalparameter *type = icalproperty_get_first_parameter(property, ICAL_RELTYPE_PARAMETER);
    return !type || icalparameter_get_reltype(type) == ICAL_RELTYPE_PARENT;
}

bool isInlineAttachment(icalproperty *property)
{
    icalattach *attach = icalproperty_get_attach(property);
    return attach && !icalattach_get_is_url(attach);
}

bool statusMeansDone(icalproperty_status status)
{
    return status == ICAL_STATUS_COMPLETED || status == ICAL_STATUS_CANCELLED;
}

// The moment an iCalendar time stands for. Dates and floating times are
// read in the user's zone; a TZID libical cannot resolve is looked up in the
// system's zone database before it falls back to floating.
std::optional<QDateTime> momentOf(const icaltimetype &time, icalproperty *property, const QTimeZone &userZone)
{
    if (icaltime_is_null_time(time) || !icaltime_is_valid_time(time))
        return std::nullopt;
    const QDate date(time.year, time.month, time.day);
    if (!date.isValid())
        return std::nullopt;
    if (time.is_date)
        return date.startOfDay(userZone);
    if (icaltime_is_utc(time) || time.zone)
        return QDateTime::fromSecsSinceEpoch(icaltime_as_timet_with_zone(time, time.zone), Qt::UTC);
    QTimeZone zone = userZone;
    if (icalparameter *tzid = property ? icalproperty_get_first_parameter(property, ICAL_TZID_PARAMETER) : nullptr) {
        const QTimeZone named(QByteArray(icalparameter_get_tzid(tzid)));
        if (named.isValid())
            zone = named;
    }
    return QDateTime(date, QTime(time.hour, time.minute, time.second), zone).toUTC();
}

// The day a DUE names: the written date for dates, floating times and times
// with a TZID; the user's day for a UTC time.
std::optional<QDateTime> dueDay(const icaltimetype &time, const QTimeZone &userZone)
{
    if (icaltime_is_null_time(time) || !icaltime_is_valid_time(time))
        return std::nullopt;
    QDate date(time.year, time.month, time.day);
    if (!time.is_date && icaltime_is_utc(time))
        date = QDateTime::fromSecsSinceEpoch(icaltime_as_timet(time), Qt::UTC).toTimeZone(userZone).date();
    if (!date.isValid())
        return std::nullopt;
    return date.startOfDay(userZone).toUTC();
}

std::optional<QDateTime> alarmMoment(icalcomponent *vtodo, icalcomponent *valarm, const QTimeZone &zone)
{
    icalproperty *triggerProperty = icalcomponent_get_first_property(valarm, ICAL_TRIGGER_PROPERTY);
    if (!triggerProperty)
        return std::nullopt;
    const icaltriggertype trigger = icalproperty_get_trigger(triggerProperty);
    if (!icaltime_is_null_time(trigger.time))
        return momentOf(trigger.time, triggerProperty, zone);
    // Relative: from DUE when it says RELATED=END, from DTSTART otherwise
    // (and from DUE when the task has no DTSTART, as planners write it).
    icalparameter *related = icalproperty_get_first_parameter(triggerProperty, ICAL_RELATED_PARAMETER);
    icalproperty *start = icalcomponent_get_first_property(vtodo, ICAL_DTSTART_PROPERTY);
    icalproperty *due = icalcomponent_get_first_property(vtodo, ICAL_DUE_PROPERTY);
    const bool fromStart = start && !(related && icalparameter_get_related(related) == ICAL_RELATED_END);
    icalproperty *base = fromStart ? start : due;
    if (!base)
        return std::nullopt;
    const std::optional<QDateTime> from
        = momentOf(fromStart ? icalcomponent_get_dtstart(vtodo) : icalcomponent_get_due(vtodo), base, zone);
    if (!from)
        return std::nullopt;
    return from->addSecs(icaldurationtype_as_int(trigger.duration));
}

void addAttachment(icalcomponent *vtodo, const Attachment &attachment, const TypeRegistry &types)
{
    const std::optional<QByteArray> data = attachment.data();
    if (!data)
        return;
    const QByteArray base64 = data->toBase64();
    char *owned = static_cast<char *>(std::malloc(size_t(base64.size()) + 1));
    if (!owned)
        return;
    std::memcpy(owned, base64.constData(), size_t(base64.size()) + 1);
    icalattach *attach = icalattach_new_from_data(
        owned, [](char *bytes, void *) { std::free(bytes); }, nullptr);
    icalproperty *property = icalproperty_new_attach(attach);
    icalattach_unref(attach);
    icalproperty_add_parameter(property, icalparameter_new_encoding(ICAL_ENCODING_BASE64));
    icalproperty_add_parameter(property, icalparameter_new_value(ICAL_VALUE_BINARY));
    const QString mime = types.mimeType(attachment.typeIdentifier());
    icalproperty_add_parameter(property, icalparameter_new_fmttype(utf8(mime).constData()));
    if (!attachment.name().isEmpty())
        icalproperty_add_parameter(property, icalparameter_new_filename(utf8(attachment.name()).constData()));
    if (!attachment.typeIdentifier().isEmpty()) {
        icalparameter *type = icalparameter_new_x(utf8(attachment.typeIdentifier()).constData());
        icalparameter_set_xname(type, TypeParameter);
        icalproperty_add_parameter(property, type);
    }
    icalcomponent_add_property(vtodo, property);
}

std::optional<ical::VtodoAttachment> readAttachment(icalproperty *property, const TypeRegistry &types)
{
    icalattach *attach = icalproperty_get_attach(property);
    const char *base64 = attach ? reinterpret_cast<const char *>(icalattach_get_data(attach)) : nullptr;
    if (!base64)
        return std::nullopt;
    auto decoded = QByteArray::fromBase64Encoding(QByteArray(base64), QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded)
        return std::nullopt;
    ical::VtodoAttachment out;
    out.data = *decoded;
    icalparameter *filename = icalproperty_get_first_parameter(property, ICAL_FILENAME_PARAMETER);
    out.name = filename ? ical::fromIcal(icalparameter_get_filename(filename)) : QString();
    if (const char *type = xParameter(property, TypeParameter))
        out.typeIdentifier = ical::fromIcal(type);
    if (out.typeIdentifier.isEmpty()) {
        icalparameter *fmt = icalproperty_get_first_parameter(property, ICAL_FMTTYPE_PARAMETER);
        const QString mime = fmt ? ical::fromIcal(icalparameter_get_fmttype(fmt)) : QString();
        const QString suffix = QMimeDatabase().mimeTypeForName(mime).preferredSuffix();
        out.typeIdentifier = suffix.isEmpty() ? QString() : types.typeForExtension(suffix);
    }
    if (out.typeIdentifier.isEmpty())
        out.typeIdentifier = types.dataTypeForFileName(out.name);
    if (out.name.isEmpty()) {
        out.name = QCoreApplication::translate("TaskVtodo", "Attachment");
        const QString extension = types.preferredExtension(out.typeIdentifier);
        if (!extension.isEmpty())
            out.name += u'.' + extension;
    }
    return out;
}

ical::ComponentPtr parseKept(const QString &kept)
{
    if (kept.isEmpty())
        return nullptr;
    ical::ensureNonFatalErrors();
    const QByteArray text = utf8(kept);
    ical::ComponentPtr parsed(icalparser_parse_string(text.constData()));
    if (parsed && icalcomponent_isa(parsed.get()) != ICAL_VTODO_COMPONENT)
        return nullptr;
    return parsed;
}

// Whether the store has, or had, a record with this id: a deleted one
// still has its tombstone, which the mirror must not see come back.
bool idInUse(Store &store, const QUuid &id)
{
    if (store.page(id) || store.task(id) || store.attachment(id))
        return true;
    try {
        SQLite::Statement find(store.database(), "SELECT 1 FROM tombstone WHERE id = ?");
        find.bind(1, uuidString(id).toStdString());
        return find.executeStep();
    } catch (const std::exception &) {
        return true;
    }
}

} // namespace

QTimeZone dueZone(const CalendarContext &calendar)
{
    const QTimeZone zone(calendar.timeZoneId());
    return zone.isValid() ? zone : QTimeZone::systemTimeZone();
}

namespace TaskVtodo {

QString uidOf(const TaskItem &task, const QString &kept)
{
    if (ical::ComponentPtr parsed = parseKept(kept)) {
        if (const char *uid = icalcomponent_get_uid(parsed.get()); uid && *uid)
            return ical::fromIcal(uid);
    }
    return uuidString(task.id());
}

ical::ComponentPtr write(
    const TaskItem &task, const CalendarContext &calendar, const WriteOptions &options, int *leftOut)
{
    ical::ensureNonFatalErrors();
    ical::ComponentPtr vtodo(icalcomponent_new(ICAL_VTODO_COMPONENT));
    icalcomponent *c = vtodo.get();
    const ical::ComponentPtr kept = parseKept(options.kept);
    const char *keptUid = kept ? icalcomponent_get_uid(kept.get()) : nullptr;
    icalcomponent_add_property(
        c, icalproperty_new_uid(keptUid && *keptUid ? keptUid : utf8(uuidString(task.id())).constData()));
    icalcomponent_add_property(c, icalproperty_new_dtstamp(utcTime(options.now)));
    icalcomponent_add_property(c, icalproperty_new_created(utcTime(task.created())));
    icalcomponent_add_property(c, icalproperty_new_summary(utf8(task.text()).constData()));
    if (!task.notes().isEmpty())
        icalcomponent_add_property(c, icalproperty_new_description(utf8(task.notes()).constData()));
    if (const auto due = task.due()) {
        const QDate day = due->toTimeZone(dueZone(calendar)).date();
        icalcomponent_add_property(c, icalproperty_new_due(icaltime_from_day_of_year(day.dayOfYear(), day.year())));
    }

    // The state the task came with (IN-PROCESS, 40 %, when it was completed)
    // goes back out while it still agrees with the done mark.
    icalproperty *keptStatus = kept ? icalcomponent_get_first_property(kept.get(), ICAL_STATUS_PROPERTY) : nullptr;
    const bool keepState = keptStatus && statusMeansDone(icalproperty_get_status(keptStatus)) == task.done();
    if (!keepState) {
        if (task.done()) {
            icalcomponent_add_property(c, icalproperty_new_status(ICAL_STATUS_COMPLETED));
            icalcomponent_add_property(c, icalproperty_new_completed(utcTime(options.now)));
            icalcomponent_add_property(c, icalproperty_new_percentcomplete(100));
        } else {
            icalcomponent_add_property(c, icalproperty_new_status(ICAL_STATUS_NEEDSACTION));
        }
    }

    if (!task.placeName().isEmpty())
        icalcomponent_add_property(c, icalproperty_new_location(utf8(task.placeName()).constData()));
    if (!task.placeAddress().isEmpty())
        addX(c, AddressName, task.placeAddress());
    if (task.latitude() && task.longitude())
        icalcomponent_add_property(c, icalproperty_new_geo({ *task.latitude(), *task.longitude() }));
    if (!options.parentUid.isEmpty())
        icalcomponent_add_property(c, icalproperty_new_relatedto(utf8(options.parentUid).constData()));
    addX(c, OrderName, QString::number(task.order(), 'g', 17));
    if (!task.repeat().isEmpty()) {
        const icalrecurrencetype rule = icalrecurrencetype_from_string(utf8(task.repeat()).constData());
        if (rule.freq != ICAL_NO_RECURRENCE)
            icalcomponent_add_property(c, icalproperty_new_rrule(rule));
    }

    for (const Attachment *attachment : task.sortedAttachments()) {
        if (attachment->dataSize().value_or(0) > MaxInlineAttachment) {
            if (leftOut)
                ++*leftOut;
            continue;
        }
        addAttachment(c, *attachment, *options.types);
    }

    if (kept) {
        for (icalproperty *p : ical::propertiesOf(kept.get(), ICAL_ANY_PROPERTY)) {
            const icalproperty_kind kind = icalproperty_isa(p);
            const bool state = kind == ICAL_STATUS_PROPERTY || kind == ICAL_COMPLETED_PROPERTY
                || kind == ICAL_PERCENTCOMPLETE_PROPERTY;
            if (kind == ICAL_UID_PROPERTY || (state && !keepState))
                continue;
            icalcomponent_add_property(c, icalproperty_new_clone(p));
        }
    }

    if (const auto alarm = task.alarm()) {
        icalcomponent *valarm = icalcomponent_new(ICAL_VALARM_COMPONENT);
        icalcomponent_add_property(valarm, icalproperty_new_action(ICAL_ACTION_DISPLAY));
        icalcomponent_add_property(valarm, icalproperty_new_description(utf8(task.text()).constData()));
        icaltriggertype trigger = icaltriggertype_from_int(0);
        trigger.time = utcTime(*alarm);
        icalcomponent_add_property(valarm, icalproperty_new_trigger(trigger));
        icalcomponent_add_component(c, valarm);
    }
    return vtodo;
}

bool isDamaged(icalcomponent *vtodo)
{
    for (icalproperty *error : ical::propertiesOf(vtodo, ICAL_XLICERROR_PROPERTY)) {
        icalparameter *type = icalproperty_get_first_parameter(error, ICAL_XLICERRORTYPE_PARAMETER);
        const icalparameter_xlicerrortype kind
            = type ? icalparameter_get_xlicerrortype(type) : ICAL_XLICERRORTYPE_COMPONENTPARSEERROR;
        if (kind == ICAL_XLICERRORTYPE_VALUEPARSEERROR || kind == ICAL_XLICERRORTYPE_COMPONENTPARSEERROR)
            return true;
    }
    for (icalcomponent *inner : ical::componentsOf(vtodo, ICAL_ANY_COMPONENT)) {
        if (isDamaged(inner))
            return true;
    }
    return false;
}

ical::VtodoTask read(icalcomponent *vtodo, const CalendarContext &calendar, const TypeRegistry &types)
{
    const QTimeZone zone = dueZone(calendar);
    ical::VtodoTask out;
    ical::ComponentPtr kept(icalcomponent_new(ICAL_VTODO_COMPONENT));
    bool keepsAny = false;
    for (icalproperty *p : ical::propertiesOf(vtodo, ICAL_ANY_PROPERTY)) {
        switch (icalproperty_isa(p)) {
        case ICAL_UID_PROPERTY:
            out.uid = ical::fromIcal(icalproperty_get_uid(p));
            continue;
        case ICAL_SUMMARY_PROPERTY:
            out.text = ical::fromIcal(icalproperty_get_summary(p)).simplified();
            continue;
        case ICAL_DESCRIPTION_PROPERTY:
            out.notes = ical::fromIcal(icalproperty_get_description(p));
            continue;
        case ICAL_CREATED_PROPERTY:
            out.created = momentOf(icalproperty_get_created(p), p, zone);
            continue;
        case ICAL_DUE_PROPERTY:
            out.due = dueDay(icalcomponent_get_due(vtodo), zone);
            continue;
        case ICAL_RRULE_PROPERTY:
            // The task keeps one rule; a second one travels on unchanged.
            if (out.repeat.isEmpty()) {
                icalrecurrencetype rule = icalproperty_get_rrule(p);
                if (char *text = icalrecurrencetype_as_string_r(&rule)) {
                    out.repeat = QString::fromUtf8(text);
                    icalmemory_free_buffer(text);
                    continue;
                }
            }
            break;
        case ICAL_LOCATION_PROPERTY:
            out.placeName = ical::fromIcal(icalproperty_get_location(p)).simplified();
            continue;
        case ICAL_GEO_PROPERTY: {
            const icalgeotype geo = icalproperty_get_geo(p);
            if (std::isfinite(geo.lat) && std::isfinite(geo.lon) && std::abs(geo.lat) <= 90
                && std::abs(geo.lon) <= 180) {
                out.latitude = geo.lat;
                out.longitude = geo.lon;
            }
            continue;
        }
        case ICAL_STATUS_PROPERTY:
            out.done = out.done || statusMeansDone(icalproperty_get_status(p));
            break;
        case ICAL_COMPLETED_PROPERTY:
            out.done = true;
            break;
        case ICAL_PERCENTCOMPLETE_PROPERTY:
            out.done = out.done || icalproperty_get_percentcomplete(p) >= 100;
            break;
        case ICAL_RELATEDTO_PROPERTY:
            // The parent is written anew from the page's order on export.
            if (isParentLink(p)) {
                if (out.parentUid.isEmpty())
                    out.parentUid = ical::fromIcal(icalproperty_get_relatedto(p));
                continue;
            }
            break;
        case ICAL_ATTACH_PROPERTY:
            if (isInlineAttachment(p)) {
                if (auto attachment = readAttachment(p, types))
                    out.attachments.append(*attachment);
                continue;
            }
            break;
        case ICAL_X_PROPERTY:
            if (isX(p, OrderName)) {
                bool ok = false;
                const double order = ical::fromIcal(icalproperty_get_x(p)).toDouble(&ok);
                if (ok && std::isfinite(order))
                    out.order = order;
                continue;
            }
            if (isX(p, AddressName)) {
                out.placeAddress = ical::fromIcal(icalproperty_get_x(p)).simplified();
                continue;
            }
            break;
        // Written anew on every export; a stale one would claim the wrong age.
        case ICAL_DTSTAMP_PROPERTY:
        case ICAL_LASTMODIFIED_PROPERTY:
        case ICAL_XLICERROR_PROPERTY:
            continue;
        default:
            break;
        }
        icalcomponent_add_property(kept.get(), icalproperty_new_clone(p));
        keepsAny = true;
    }

    // A task line cannot be empty (the book clears empty lines away), so a
    // VTODO without a summary is named from its notes.
    if (out.text.isEmpty()) {
        for (const QString &line : out.notes.split(u'\n')) {
            if (!line.trimmed().isEmpty()) {
                out.text = line.simplified();
                break;
            }
        }
    }
    if (out.text.isEmpty())
        out.text = QCoreApplication::translate("TaskVtodo", "Untitled task");

    for (icalcomponent *valarm : ical::componentsOf(vtodo, ICAL_VALARM_COMPONENT)) {
        const auto moment = alarmMoment(vtodo, valarm, zone);
        if (moment && (!out.alarm || *moment < *out.alarm))
            out.alarm = moment;
    }

    if (keepsAny) {
        char *text = icalcomponent_as_ical_string_r(kept.get());
        out.kept = QString::fromUtf8(text);
        icalmemory_free_buffer(text);
    }
    return out;
}

QString apply(const ical::VtodoTask &from, TaskItem &task, Store &store)
{
    QString kept = from.kept;
    if (!task.isInserted()) {
        const QUuid id = uuidFromString(from.uid);
        if (!id.isNull() && !idInUse(store, id))
            task.setId(id);
        store.insert(&task);
        // A UID of another form is the task's name elsewhere: it goes back
        // out with the task.
        if (id.isNull() && !from.uid.isEmpty()) {
            ical::ComponentPtr withUid = parseKept(kept);
            if (!withUid)
                withUid.reset(icalcomponent_new(ICAL_VTODO_COMPONENT));
            icalcomponent_add_property(withUid.get(), icalproperty_new_uid(utf8(from.uid).constData()));
            char *text = icalcomponent_as_ical_string_r(withUid.get());
            kept = QString::fromUtf8(text);
            icalmemory_free_buffer(text);
        }
    }
    task.setText(from.text);
    task.setDone(from.done);
    if (from.created)
        task.setCreated(*from.created);
    task.setDue(from.due);
    task.setAlarm(from.alarm);
    task.setNotes(from.notes);
    task.setPlaceName(from.placeName);
    task.setPlaceAddress(from.placeAddress);
    task.setLatitude(from.latitude);
    task.setLongitude(from.longitude);
    task.setIndent(from.indent);
    task.setRepeat(from.repeat);

    // Attachments already on the task (by name and size) are not added again.
    const QList<Attachment *> present = task.sortedAttachments();
    qint64 created = QDateTime::currentMSecsSinceEpoch();
    for (const ical::VtodoAttachment &incoming : from.attachments) {
        const bool known = std::any_of(present.begin(), present.end(),
            [&](const Attachment *a) { return a->name() == incoming.name && a->dataSize() == incoming.data.size(); });
        if (known)
            continue;
        auto *attachment = new Attachment(incoming.name, incoming.typeIdentifier, incoming.data);
        // One millisecond apart, so they keep the order they came in.
        attachment->setCreated(QDateTime::fromMSecsSinceEpoch(created++, Qt::UTC));
        store.insert(attachment);
        attachment->setTask(&task);
    }
    return kept;
}

} // namespace TaskVtodo
} // namespace quillery
