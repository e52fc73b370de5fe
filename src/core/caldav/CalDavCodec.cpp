#include "CalDavCodec.h"

#include "core/ical/IcalHandles.h"
#include "core/ical/TaskVtodo.h"
#include "core/util/CalendarContext.h"

#include <libical/ical.h>

namespace quillery::CalDavCodec {

namespace {

icaltimetype utcTime(qint64 ms)
{
    return icaltime_from_timet_with_zone(time_t(ms / 1000), 0, icaltimezone_get_utc_timezone());
}

qint64 msOf(icalproperty *property)
{
    if (!property)
        return 0;
    const icaltimetype time = icalvalue_get_datetime(icalproperty_get_value(property));
    if (icaltime_is_null_time(time) || !icaltime_is_valid_time(time))
        return 0;
    // Floating and zoned stamps are rare here; the zone libical knows, or UTC.
    return qint64(icaltime_as_timet_with_zone(time, time.zone ? time.zone : icaltimezone_get_utc_timezone())) * 1000;
}

} // namespace

QByteArray encode(const TaskItem &task, qint64 modified, const QString &parentUid, const QString &kept,
    const CalendarContext &calendar, const TypeRegistry &types)
{
    TaskVtodo::WriteOptions options;
    options.now = QDateTime::fromMSecsSinceEpoch(toSeconds(modified), Qt::UTC);
    options.parentUid = parentUid;
    options.kept = kept;
    options.types = &types;
    ical::ComponentPtr vtodo = TaskVtodo::write(task, calendar, options);
    icalcomponent_add_property(vtodo.get(), icalproperty_new_lastmodified(utcTime(modified)));

    ical::ComponentPtr vcalendar(icalcomponent_new(ICAL_VCALENDAR_COMPONENT));
    icalcomponent_add_property(vcalendar.get(), icalproperty_new_version("2.0"));
    icalcomponent_add_property(
        vcalendar.get(), icalproperty_new_prodid("-//Quillery//Quillery " QUILLERY_VERSION "//EN"));
    icalcomponent_add_component(vcalendar.get(), vtodo.release());
    char *text = icalcomponent_as_ical_string_r(vcalendar.get());
    QByteArray out(text);
    icalmemory_free_buffer(text);
    return out;
}

std::optional<Remote> decode(const QByteArray &text, const CalendarContext &calendar, const TypeRegistry &types)
{
    ical::ensureNonFatalErrors();
    ical::ComponentPtr root(icalparser_parse_string(text.constData()));
    if (!root)
        return std::nullopt;
    icalcomponent *vtodo = icalcomponent_isa(root.get()) == ICAL_VTODO_COMPONENT
        ? root.get()
        : icalcomponent_get_first_component(root.get(), ICAL_VTODO_COMPONENT);
    if (!vtodo)
        return std::nullopt;
    Remote remote;
    remote.modified = msOf(icalcomponent_get_first_property(vtodo, ICAL_LASTMODIFIED_PROPERTY));
    if (!remote.modified)
        remote.modified = msOf(icalcomponent_get_first_property(vtodo, ICAL_DTSTAMP_PROPERTY));
    remote.task = TaskVtodo::read(vtodo, calendar, types);
    if (remote.task.uid.isEmpty())
        return std::nullopt;
    return remote;
}

QString withUid(const QString &kept, const QString &uid)
{
    ical::ComponentPtr component(kept.isEmpty() ? nullptr : icalcomponent_new_from_string(kept.toUtf8().constData()));
    if (!component)
        component.reset(icalcomponent_new(ICAL_VTODO_COMPONENT));
    while (icalproperty *old = icalcomponent_get_first_property(component.get(), ICAL_UID_PROPERTY)) {
        icalcomponent_remove_property(component.get(), old);
        icalproperty_free(old);
    }
    icalcomponent_add_property(component.get(), icalproperty_new_uid(uid.toUtf8().constData()));
    char *text = icalcomponent_as_ical_string_r(component.get());
    QString out = QString::fromUtf8(text);
    icalmemory_free_buffer(text);
    return out;
}

} // namespace quillery::CalDavCodec
