#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace quillery {

class CalendarContext;
class Page;
class Store;

// Writes pages as iCalendar: one VCALENDAR per page (its title in
// X-WR-CALNAME, its colour in COLOR and X-QUILLERY-COLOR), one VTODO per
// task in the page's order, a subtask linked to the task it sits under.
namespace IcalExport {

struct Result {
    QByteArray text;
    int tasks = 0;
    int attachmentsLeftOut = 0; // over the inline limit
};

Result pages(const QList<Page *> &pages, Store &store, const CalendarContext &calendar);

// Writes `text` to `path` whole or not at all. False with `error` when the
// file cannot be written; an existing file is then left as it was.
bool writeFile(const QString &path, const QByteArray &text, QString *error);

// "Exported 12 tasks", with "; left out 2 attachments over 1 MB" when so.
QString summary(const Result &result);

} // namespace IcalExport
} // namespace quillery
