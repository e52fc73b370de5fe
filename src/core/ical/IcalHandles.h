#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <memory>

// libical's handles, declared as libical declares them, so headers can name
// them without pulling in the whole C interface.
typedef struct icalcomponent_impl icalcomponent;
typedef struct icalproperty_impl icalproperty;

namespace quillery::ical {

// Owns one libical component tree and frees it with libical's own call.
struct ComponentDeleter {
    void operator()(icalcomponent *component) const;
};
using ComponentPtr = std::unique_ptr<icalcomponent, ComponentDeleter>;

// Text from libical (UTF-8 by the standard, but files from the wild carry
// other encodings): valid UTF-8 is read as such, anything else as Latin-1,
// so no byte turns into a replacement mark.
QString fromIcal(const char *text);

// The properties (or components) of a component, listed before anything
// reads them: libical's getters move the component's one iterator, so a
// loop over it that calls them would skip what follows.
QList<icalproperty *> propertiesOf(icalcomponent *component, int kind);
QList<icalcomponent *> componentsOf(icalcomponent *component, int kind);

// Switches libical's errors to "reported, never fatal" once per process.
void ensureNonFatalErrors();

} // namespace quillery::ical
