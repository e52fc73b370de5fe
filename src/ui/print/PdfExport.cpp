#include "PdfExport.h"

#include "PdfOutline.h"
#include "core/model/Page.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

namespace quillery::ui {

QString PdfExport::documentTitle(const CalendarContext &calendar)
{
    return QCoreApplication::translate("PdfExport", "Quillery — %1")
        .arg(calendar.format(calendar.now(), QStringLiteral("yMMMMd")));
}

bool PdfExport::write(const QList<Page *> &pages, const Services &services, const QPageSize &paper, const QString &path,
    QString *error, PagePrinter::Options options)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QList<PdfOutline::Entry> outline;
    {
        QPdfWriter writer(&buffer);
        writer.setTitle(documentTitle(services.calendar));
        writer.setCreator(QStringLiteral("Quillery"));
        PagePrinter::prepare(writer, paper);
        QPainter painter(&writer);
        PagePrinter printer(services, options);
        const QList<int> starts = printer.paint(pages, writer, painter);
        for (int i = 0; i < pages.size(); ++i) {
            const QString title = pages[i]->title().trimmed();
            outline.append(
                { title.isEmpty() ? QCoreApplication::translate("PdfExport", "Untitled") : title, starts[i] });
        }
    }
    const QByteArray pdf = PdfOutline::withOutline(buffer.data(), outline, error);
    if (pdf.isEmpty())
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(pdf) != pdf.size() || !file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

} // namespace quillery::ui
