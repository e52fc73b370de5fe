#include "PrintCommands.h"
#include "FileChooser.h"

#include "core/model/Page.h"
#include "core/model/RecordPointer.h"
#include "core/model/Store.h"
#include "ui/print/PagePrinter.h"
#include "ui/print/PdfExport.h"

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QVBoxLayout>

namespace quillery::ui {

namespace {

QString localeFilter()
{
    return QCoreApplication::translate("PrintCommands", "PDF on %1 paper (*.pdf)")
        .arg(PagePrinter::localePaper().name());
}

QString bookShapeFilter()
{
    return QCoreApplication::translate("PrintCommands", "PDF in the book's shape (*.pdf)");
}

// The print dialog's own tab: what the paper looks like.
class PaperOptions final : public QWidget
{
public:
    PaperOptions()
    {
        setObjectName(QStringLiteral("paperOptions"));
        setWindowTitle(QCoreApplication::translate("PrintCommands", "Paper"));
        auto *layout = new QVBoxLayout(this);
        colour = new QCheckBox(QCoreApplication::translate("PrintCommands", "Paper colour"), this);
        colour->setChecked(true);
        grain = new QCheckBox(QCoreApplication::translate("PrintCommands", "Paper grain"), this);
        connect(colour, &QCheckBox::toggled, grain, &QCheckBox::setEnabled);
        layout->addWidget(colour);
        layout->addWidget(grain);
        layout->addStretch();
    }

    QCheckBox *colour = nullptr;
    QCheckBox *grain = nullptr;
};

} // namespace

PrintCommands::PrintCommands(const Services &services, QWidget *window, Hooks hooks, QObject *parent)
    : QObject(parent)
    , m_services(services)
    , m_window(window)
    , m_hooks(std::move(hooks))
{
    const auto current = [this] { return m_hooks.currentPage ? m_hooks.currentPage() : nullptr; };
    m_print = new QAction(tr("Print Page…"), this);
    m_print->setShortcut(QKeySequence::Print);
    connect(m_print, &QAction::triggered, this, [this, current] {
        if (Page *page = current())
            choosePrint(page);
    });
    m_exportPage = new QAction(tr("Export Page as PDF…"), this);
    connect(m_exportPage, &QAction::triggered, this, [this, current] {
        if (Page *page = current())
            chooseExport(page);
    });
    m_exportBook = new QAction(tr("Export Book as PDF…"), this);
    connect(m_exportBook, &QAction::triggered, this, [this] { chooseExport(nullptr); });
}

PrintCommands::~PrintCommands() = default;

void PrintCommands::addTo(QMenu &menu, QAction *before)
{
    menu.insertActions(before, { m_print, m_exportPage, m_exportBook });
    menu.insertSeparator(before);
}

void PrintCommands::choosePrint(Page *page)
{
    auto printer = std::make_shared<QPrinter>(QPrinter::HighResolution);
    printer->setPageSize(PagePrinter::localePaper());
    printer->setDocName(page->title().isEmpty() ? PdfExport::documentTitle(m_services.calendar) : page->title());
    auto *dialog = new QPrintDialog(printer.get(), m_window);
    dialog->setObjectName(QStringLiteral("printDialog"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setOption(QAbstractPrintDialog::PrintToFile);
    dialog->setOption(QAbstractPrintDialog::PrintPageRange, false);
    auto *options = new PaperOptions;
    dialog->setOptionTabs({ options });
    RecordPointer<Page> target(page);
    connect(dialog, &QDialog::accepted, this, [this, printer, target, options] {
        if (!target)
            return; // torn out while the dialog was open
        PagePrinter::prepare(*printer);
        QPainter painter;
        if (!painter.begin(printer.get())) {
            tell(tr("Print Page"), tr("The page could not be printed: the printer cannot be used."), true);
            return;
        }
        PagePrinter(m_services, { options->colour->isChecked(), options->grain->isChecked() })
            .paint({ target.data() }, *printer, painter);
        painter.end();
        Q_EMIT finished(tr("Printed “%1”.").arg(target->title()));
    });
    dialog->open();
}

void PrintCommands::chooseExport(Page *page)
{
    const QString title = page ? tr("Export Page as PDF") : tr("Export Book as PDF");
    QFileDialog *dialog = FileChooser::make(m_window,
        { title, { localeFilter(), bookShapeFilter() }, QFileDialog::AcceptSave, QStringLiteral("pdf"),
            QStringLiteral("pdfFileDialog") });
    dialog->selectFile(page ? FileChooser::fileNameFor(
                           page->title(), QCoreApplication::translate("PrintCommands", "Page"), QStringLiteral("pdf"))
                            : QStringLiteral("Quillery.pdf"));
    QList<RecordPointer<Page>> pages;
    if (page)
        pages << page;
    else if (m_services.store)
        for (Page *each : m_services.store->pages())
            pages << each;
    connect(dialog, &QFileDialog::fileSelected, this, [this, dialog, pages](const QString &path) {
        exportTo(path, dialog->selectedNameFilter() == bookShapeFilter(), pages);
    });
    dialog->open();
}

void PrintCommands::exportTo(const QString &path, bool bookShape, const QList<RecordPointer<Page>> &pages)
{
    // Pages torn out while the chooser was open are left out.
    QList<Page *> live;
    for (const RecordPointer<Page> &page : pages)
        if (page && !page->isDeleted())
            live << page.data();
    const QString title = pages.size() == 1 ? tr("Export Page as PDF") : tr("Export Book as PDF");
    QString error;
    const QPageSize paper = bookShape ? PagePrinter::bookPaper() : PagePrinter::localePaper();
    if (!PdfExport::write(live, m_services, paper, path, &error)) {
        tell(title, tr("“%1” could not be written. %2").arg(QFileInfo(path).fileName(), error), true);
        return;
    }
    Q_EMIT finished(tr("Wrote “%1”.").arg(QFileInfo(path).fileName()));
}

void PrintCommands::tell(const QString &title, const QString &text, bool failed)
{
    auto *box = new QMessageBox(
        failed ? QMessageBox::Warning : QMessageBox::Information, title, text, QMessageBox::Ok, m_window);
    box->setObjectName(QStringLiteral("printSummary"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::WindowModal);
    box->open();
    Q_EMIT finished(text);
}

} // namespace quillery::ui
