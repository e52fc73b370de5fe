#pragma once

#include "ui/print/PdfOutliner.h"

#include <QObject>

namespace quillery {

// The quillery-pdf module: adds the outline to a finished PDF with qpdf.
class PdfOutlineModule final : public QObject, public PdfOutliner
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "app.quillery.PdfOutliner/1")
    Q_INTERFACES(quillery::PdfOutliner)
public:
    QByteArray withOutline(const QByteArray &pdf, const QList<PdfOutline::Entry> &entries, QString *error) override;
};

} // namespace quillery
