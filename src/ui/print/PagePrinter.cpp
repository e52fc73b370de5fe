#include "PagePrinter.h"

#include "core/model/Page.h"
#include "core/model/Store.h"
#include "core/theme/Palette.h"
#include "gui/theme/ThemeColors.h"
#include "ui/pages/PageHeader.h"
#include "ui/pages/PageScrollArea.h"
#include "ui/pages/PageView.h"
#include "ui/pages/TaskListView.h"
#include "ui/tasks/TaskRow.h"
#include "ui/theme/PaperBackground.h"

#include <QCoreApplication>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>

#include <clocale>
#include <langinfo.h>

namespace quillery::ui {

namespace {

// Paint units per inch: Qt's logical screen resolution, so that fonts sized
// in points come out as they measure on screen.
constexpr int Resolution = 96;
// The grain is drawn from a tile this many times finer than the screen's.
constexpr qreal GrainRatio = 2.0;

} // namespace

PagePrinter::PagePrinter(const Services &services, Options options)
    : m_services(services)
    , m_options(options)
{
    m_light.setForcedScheme(ColorScheme::Light);
    m_services.appearance = &m_light;
}

PagePrinter::~PagePrinter() = default;

QPageSize PagePrinter::localePaper()
{
#ifdef _NL_PAPER_WIDTH
    // The C library reads LC_PAPER; Qt has no word for it.
    const auto width = static_cast<int>(reinterpret_cast<intptr_t>(nl_langinfo(_NL_PAPER_WIDTH)));
    const auto height = static_cast<int>(reinterpret_cast<intptr_t>(nl_langinfo(_NL_PAPER_HEIGHT)));
    if (QPageSize::id(QSizeF(width, height), QPageSize::Millimeter, QPageSize::FuzzyMatch) == QPageSize::Letter)
        return QPageSize(QPageSize::Letter);
#endif
    return QPageSize(QPageSize::A4);
}

QPageSize PagePrinter::bookPaper()
{
    return QPageSize(QSizeF(180, 250), QPageSize::Millimeter, QCoreApplication::translate("PagePrinter", "Book page"),
        QPageSize::ExactMatch);
}

void PagePrinter::prepare(QPdfWriter &writer, const QPageSize &paper)
{
    writer.setResolution(Resolution);
    writer.setPageLayout(QPageLayout(paper, QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
}

void PagePrinter::prepare(QPrinter &printer)
{
    printer.setResolution(Resolution);
    printer.setFullPage(true);
}

QList<int> PagePrinter::paint(const QList<Page *> &pages, QPagedPaintDevice &device, QPainter &painter)
{
    const QRectF full = device.pageLayout().fullRectPixels(device.logicalDpiX());
    const double scale = full.width() / LayoutWidth;
    const QSizeF sheet(LayoutWidth, full.height() / scale);
    painter.save();
    painter.scale(scale, scale);

    QList<int> starts;
    int sheetIndex = 0;
    for (int index = 0; index < pages.size(); ++index) {
        Page *page = pages[index];
        PageView view(page, index + 1, int(pages.size()), {}, m_services, nullptr);
        view.setAttribute(Qt::WA_DontShowOnScreen);
        view.setSnapshot(true);
        view.resize(sheet.toSize());
        view.show();
        view.list()->refreshNow();
        view.list()->finishMoving();

        if (sheetIndex > 0)
            device.newPage();
        starts << sheetIndex++;
        paintSheet(painter, sheet, view);
        const QRect header = view.header()->geometry();
        view.header()->render(&painter, header.topLeft(), QRegion(), QWidget::DrawChildren);

        // Rows in page coordinates, as laid out on screen with the list at
        // its top.
        const QRect area = view.scrollArea()->geometry();
        const int continuedTop = header.top();
        int shift = 0;
        for (TaskRow *row : view.rows()) {
            QRect frame(row->mapTo(&view, QPoint(0, 0)), row->size());
            frame.translate(0, shift);
            // A row that would cross the bottom of the sheet starts the next
            // one, unless it is the first on its sheet (then it is cut: no
            // sheet would hold it whole).
            if (frame.bottom() >= area.bottom() && frame.top() > continuedTop) {
                device.newPage();
                ++sheetIndex;
                paintSheet(painter, sheet, view);
                shift += continuedTop - frame.top();
                frame.moveTop(continuedTop);
            }
            row->render(&painter, frame.topLeft(), QRegion(), QWidget::DrawChildren);
        }
    }
    painter.restore();
    return starts;
}

void PagePrinter::paintSheet(QPainter &painter, const QSizeF &sheet, const PageView &view) const
{
    const QRectF rect(QPointF(0, 0), sheet);
    if (!m_options.paperColour) {
        painter.fillRect(rect, Qt::white);
        return;
    }
    const ColorScheme scheme = m_light.scheme();
    const int colorIndex = view.page() ? view.page()->colorIndex() : 0;
    painter.fillRect(rect, themeColor(ThemeColor::Paper, scheme));
    const QColor tint = paperTint(colorIndex, scheme);
    if (tint.alpha() > 0)
        painter.fillRect(rect, tint);
    if (m_options.grain)
        painter.drawTiledPixmap(rect, PaperBackground::grainTile(scheme, GrainRatio));
}

} // namespace quillery::ui
