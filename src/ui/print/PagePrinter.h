#pragma once

#include "core/app/Services.h"
#include "gui/theme/Appearance.h"

#include <QList>
#include <QPageSize>

class QPagedPaintDevice;
class QPainter;
class QPdfWriter;
class QPrinter;

namespace quillery {
class Page;
}

namespace quillery::ui {

class PageView;

// Puts book pages on paper (a printer or a PDF) by painting the very header
// and task rows the screen shows, laid out by a page view of the screen's
// width and scaled to the sheet, so text stays text. Each book page starts
// a sheet; a page too long for one flows onto more, breaking only between
// rows. Always in the light scheme: paper is light.
class PagePrinter final
{
public:
    // Layout width of a page, in points: the book's width on screen.
    static constexpr int LayoutWidth = 600;

    struct Options {
        bool paperColour = true; // the page's paper colour, or white
        bool grain = false; // the paper's grain under the text
    };

    PagePrinter(const Services &services, Options options);
    ~PagePrinter();

    // The paper size of the user's locale (A4 or Letter, as the locale says).
    static QPageSize localePaper();
    // The book's own shape, 18 by 25.
    static QPageSize bookPaper();
    // Readies a PDF for painting at the screen's resolution, edge to edge,
    // on `paper`.
    static void prepare(QPdfWriter &writer, const QPageSize &paper);
    // Readies a printer (its paper as chosen) likewise.
    static void prepare(QPrinter &printer);

    // Paints `pages` onto the active `painter` of `device`, which prepare()
    // readied. Returns the sheet each page starts on (0-based).
    QList<int> paint(const QList<Page *> &pages, QPagedPaintDevice &device, QPainter &painter);

private:
    void paintSheet(QPainter &painter, const QSizeF &sheet, const PageView &view) const;

    Services m_services;
    Options m_options;
    Appearance m_light;
};

} // namespace quillery::ui
