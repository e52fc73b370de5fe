#include "RestoreCommands.h"

#include "RestoreDialog.h"
#include "core/app/Services.h"
#include "core/backup/BookRestore.h"
#include "core/model/Store.h"
#include "gui/history/UndoHistory.h"

#include <QAction>
#include <QApplication>
#include <QLocale>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>

namespace quillery::ui {

namespace {

// The wait cursor while the book files are read and written.
class Busy final
{
public:
    Busy() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~Busy() { QApplication::restoreOverrideCursor(); }
    Busy(const Busy &) = delete;
    Busy &operator=(const Busy &) = delete;
};

} // namespace

RestoreCommands::RestoreCommands(
    const Services &services, UndoHistory *history, QString folder, QWidget *window, QObject *parent)
    : QObject(parent)
    , m_services(services)
    , m_history(history)
    , m_folder(std::move(folder))
    , m_window(window)
{
    m_restore = new QAction(tr("Restore from Backup…"), this);
    connect(m_restore, &QAction::triggered, this, &RestoreCommands::chooseCopy);
}

RestoreCommands::~RestoreCommands() = default;

void RestoreCommands::addTo(QMenu &menu, QAction *after)
{
    const QList<QAction *> actions = menu.actions();
    const qsizetype at = actions.indexOf(after);
    menu.insertAction(at >= 0 && at + 1 < actions.size() ? actions.at(at + 1) : nullptr, m_restore);
}

void RestoreCommands::chooseCopy()
{
    auto *dialog = new RestoreDialog(m_folder, m_window);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowModality(Qt::WindowModal);
    connect(dialog, &RestoreDialog::chosen, this, &RestoreCommands::restoreFrom);
    dialog->open();
}

QString RestoreCommands::dayText(const QDate &date) const
{
    const CalendarContext::Components today = m_services.calendar.components(m_services.calendar.now());
    //: The day of a copy of the book taken this year, as in "the copy of 3 December".
    const QString thisYear = tr("d MMMM");
    //: The day of a copy of the book taken in another year.
    const QString otherYear = tr("d MMMM yyyy");
    return QLocale().toString(date, date.year() == today.year ? thisYear : otherYear);
}

void RestoreCommands::restoreFrom(const QString &path, const QDate &date)
{
    auto restore = std::make_unique<BookRestore>(*m_services.store);
    QString error;
    bool read = false;
    {
        const Busy busy;
        read = restore->load(path, &error);
    }
    if (!read) {
        tell(error);
        return;
    }
    m_pending = std::move(restore);
    const QString day = dayText(date);
    auto *box = new QMessageBox(QMessageBox::Question, tr("Restore from Backup"),
        tr("Replace the book with the copy of %1? The book as it is now is kept as a backup too.").arg(day),
        QMessageBox::Cancel, m_window);
    box->setObjectName(QStringLiteral("restoreConfirmation"));
    QPushButton *replace = box->addButton(tr("Replace"), QMessageBox::AcceptRole);
    box->setDefaultButton(QMessageBox::Cancel);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::WindowModal);
    connect(box, &QMessageBox::finished, this, [this, box, replace, day] {
        if (box->clickedButton() == replace)
            this->replace(day);
        m_pending.reset();
    });
    box->open();
}

void RestoreCommands::replace(const QString &day)
{
    if (!m_pending)
        return;
    const Busy busy;
    // What was typed before the restore is a step of its own, then goes
    // with the rest of the history.
    if (m_history)
        m_history->commit();
    QString error;
    const CalendarContext::Components c = m_services.calendar.components(m_services.calendar.now());
    const QDateTime now(QDate(c.year, c.month, c.day), QTime(c.hour, c.minute, c.second));
    if (!m_pending->keepBook(m_folder, now, &error)) {
        tell(error);
        return;
    }
    m_pending->apply(m_services.alarms);
    if (m_history)
        m_history->stack().clear();
    Q_EMIT restored(tr("The book was restored from the copy of %1.").arg(day));
}

void RestoreCommands::tell(const QString &text)
{
    auto *box = new QMessageBox(QMessageBox::Warning, tr("Restore from Backup"), text, QMessageBox::Ok, m_window);
    box->setObjectName(QStringLiteral("restoreSummary"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::WindowModal);
    box->open();
}

} // namespace quillery::ui
