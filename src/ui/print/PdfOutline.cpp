#include "PdfOutline.h"

#include "PdfOutliner.h"
#include "core/util/LateModule.h"

namespace quillery {

QByteArray PdfOutline::withOutline(const QByteArray &pdf, const QList<Entry> &entries, QString *error)
{
    PdfOutliner *outliner = LateModule::load<PdfOutliner>(QStringLiteral("pdf"), error);
    return outliner ? outliner->withOutline(pdf, entries, error) : QByteArray();
}

} // namespace quillery
