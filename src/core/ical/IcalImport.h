#pragma once

#include "IcalReader.h"

#include <QList>
#include <QString>

namespace quillery {

class AlarmService;
class CalendarContext;
class Page;
class Store;

// Brings what IcalReader read into the book: each calendar a new page after
// the last one, each task a record made through the store like any edit (so
// the mirror sends it), kept properties into CalendarExtras, and the alarms
// brought in step through the alarm service.
namespace IcalImport {

struct Result {
    QList<Page *> pages;
    int tasks = 0;
    int events = 0;
    int others = 0;
    int damaged = 0;
    QString error; // set when nothing was imported
};

Result add(const IcalReadResult &read, Store &store, AlarmService *alarms);
Result importFile(const QString &path, Store &store, AlarmService *alarms, const CalendarContext &calendar);

// "Imported 212 tasks; skipped 3 events and 1 damaged entry", or the error.
QString summary(const Result &result);

} // namespace IcalImport
} // namespace quillery
