#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace quillery {

// Adds a document outline to a finished PDF (Qt's writer makes none): one
// entry per book page, each opening the sheet that page starts on, and asks
// viewers to show the outline on opening.
class PdfOutline final
{
public:
    struct Entry {
        QString title;
        int sheet = 0; // 0-based
    };

    // The PDF with the outline, or empty with `error` filled when `pdf`
    // cannot be read, an entry names a sheet it does not have, or the
    // quillery-pdf module that does the work is missing.
    static QByteArray withOutline(const QByteArray &pdf, const QList<Entry> &entries, QString *error = nullptr);
};

} // namespace quillery
