#include "CalendarFiles.h"
#include "FileChooser.h"

#include "core/ical/IcalExport.h"
#include "core/ical/IcalImport.h"
#include "core/model/Page.h"
#include "core/model/RecordPointer.h"
#include "core/model/Store.h"

#include <QAction>
#include <QCoreApplication>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>

namespace quillery::ui {

namespace {

QStringList filters()
{
    return { QCoreApplication::translate("CalendarFiles", "iCalendar files (*.ics *.ical *.ifb *.icalendar)"),
        QCoreApplication::translate("CalendarFiles", "All files (*)") };
}

QFileDialog *makeDialog(QWidget *window, const QString &title, QFileDialog::AcceptMode mode)
{
    return FileChooser::make(
        window, { title, filters(), mode, QStringLiteral("ics"), QStringLiteral("calendarFileDialog") });
}

} // namespace

CalendarFiles::CalendarFiles(const Services &services, QWidget *window, Hooks hooks, QObject *parent)
    : QObject(parent)
    , m_services(services)
    , m_window(window)
    , m_hooks(std::move(hooks))
{
    m_import = new QAction(tr("Import iCalendar…"), this);
    connect(m_import, &QAction::triggered, this, &CalendarFiles::chooseImport);
    m_exportPage = new QAction(tr("Export Page as iCalendar…"), this);
    connect(m_exportPage, &QAction::triggered, this, [this] {
        if (Page *page = m_hooks.currentPage ? m_hooks.currentPage() : nullptr)
            chooseExport(page);
    });
    m_exportBook = new QAction(tr("Export Book as iCalendar…"), this);
    connect(m_exportBook, &QAction::triggered, this, [this] { chooseExport(nullptr); });
}

void CalendarFiles::addTo(QMenu &menu, QAction *before)
{
    menu.insertActions(before, { m_import, m_exportPage, m_exportBook });
    menu.insertSeparator(before);
}

void CalendarFiles::chooseImport()
{
    QFileDialog *dialog = makeDialog(m_window, tr("Import iCalendar"), QFileDialog::AcceptOpen);
    connect(dialog, &QFileDialog::fileSelected, this, &CalendarFiles::importFrom);
    dialog->open();
}

void CalendarFiles::chooseExport(Page *page)
{
    QFileDialog *dialog = makeDialog(
        m_window, page ? tr("Export Page as iCalendar") : tr("Export Book as iCalendar"), QFileDialog::AcceptSave);
    dialog->selectFile(page ? FileChooser::fileNameFor(
                           page->title(), QCoreApplication::translate("CalendarFiles", "Page"), QStringLiteral("ics"))
                            : QStringLiteral("Quillery.ics"));
    RecordPointer<Page> target(page);
    connect(dialog, &QFileDialog::fileSelected, this, [this, target, whole = page == nullptr](const QString &path) {
        // A page torn out while the chooser was open exports nothing.
        if (whole || target)
            exportTo(path, target);
    });
    dialog->open();
}

void CalendarFiles::importFrom(const QString &path)
{
    if (!m_services.store)
        return;
    const IcalImport::Result result
        = IcalImport::importFile(path, *m_services.store, m_services.alarms, m_services.calendar);
    if (!result.error.isEmpty()) {
        tell(tr("Import iCalendar"), tr("“%1” could not be imported. %2").arg(QFileInfo(path).fileName(), result.error),
            true);
        return;
    }
    m_services.store->save();
    if (!result.pages.isEmpty() && m_hooks.showPage)
        m_hooks.showPage(result.pages.first());
    tell(tr("Import iCalendar"), IcalImport::summary(result), false);
}

void CalendarFiles::exportTo(const QString &path, const RecordPointer<Page> &page)
{
    if (!m_services.store)
        return;
    const QList<Page *> pages = page ? QList<Page *> { page.data() } : m_services.store->pages();
    const IcalExport::Result result = IcalExport::pages(pages, *m_services.store, m_services.calendar);
    QString error;
    const QString title = page ? tr("Export Page as iCalendar") : tr("Export Book as iCalendar");
    if (!IcalExport::writeFile(path, result.text, &error)) {
        tell(title, tr("“%1” could not be written. %2").arg(QFileInfo(path).fileName(), error), true);
        return;
    }
    tell(title, IcalExport::summary(result), false);
}

void CalendarFiles::tell(const QString &title, const QString &text, bool failed)
{
    auto *box = new QMessageBox(
        failed ? QMessageBox::Warning : QMessageBox::Information, title, text, QMessageBox::Ok, m_window);
    box->setObjectName(QStringLiteral("calendarSummary"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::WindowModal);
    box->open();
    Q_EMIT finished(text);
}

} // namespace quillery::ui
