#pragma once

#include "PdfOutline.h"

#include <QtPlugin>

namespace quillery {

// Adding an outline as the program reaches it: qpdf, and the TLS libraries
// it links, is loaded only with this module (quillery-pdf), the first time a
// PDF is exported.
class PdfOutliner
{
public:
    virtual ~PdfOutliner() = default;
    // As PdfOutline::withOutline.
    virtual QByteArray withOutline(const QByteArray &pdf, const QList<PdfOutline::Entry> &entries, QString *error) = 0;
};

} // namespace quillery

Q_DECLARE_INTERFACE(quillery::PdfOutliner, "app.quillery.PdfOutliner/1")
