#pragma once

#include "PagePrinter.h"

#include <QString>

namespace quillery::ui {

// Writes book pages to a PDF file: one or more sheets per page, the page
// titles as the outline, and "Quillery — <date>" as the document title.
// The file appears whole or not at all.
class PdfExport final
{
public:
    // The document title for today, in the user's calendar and language.
    static QString documentTitle(const CalendarContext &calendar);

    // Returns false with `error` filled when the file cannot be written.
    static bool write(const QList<Page *> &pages, const Services &services, const QPageSize &paper, const QString &path,
        QString *error = nullptr, PagePrinter::Options options = {});
};

} // namespace quillery::ui
