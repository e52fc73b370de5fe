#include "IcalHandles.h"

#include <libical/ical.h>

#include <QStringDecoder>

#include <mutex>

namespace quillery::ical {

void ComponentDeleter::operator()(icalcomponent *component) const
{
    icalcomponent_free(component);
}

QString fromIcal(const char *text)
{
    if (!text)
        return {};
    const QByteArrayView bytes(text);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString decoded = utf8.decode(bytes);
    if (!utf8.hasError())
        return decoded;
    return QString::fromLatin1(bytes);
}

QList<icalproperty *> propertiesOf(icalcomponent *component, int kind)
{
    QList<icalproperty *> out;
    const auto k = icalproperty_kind(kind);
    for (icalproperty *p = icalcomponent_get_first_property(component, k); p;
         p = icalcomponent_get_next_property(component, k))
        out.append(p);
    return out;
}

QList<icalcomponent *> componentsOf(icalcomponent *component, int kind)
{
    QList<icalcomponent *> out;
    const auto k = icalcomponent_kind(kind);
    for (icalcomponent *c = icalcomponent_get_first_component(component, k); c;
         c = icalcomponent_get_next_component(component, k))
        out.append(c);
    return out;
}

void ensureNonFatalErrors()
{
    static std::once_flag once;
    std::call_once(once, [] { icalerror_set_errors_are_fatal(0); });
}

} // namespace quillery::ical
