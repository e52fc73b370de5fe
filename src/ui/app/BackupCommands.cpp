#include "BackupCommands.h"
#include "FileChooser.h"

#include "core/backup/BookCopy.h"
#include "core/model/Store.h"

#include <QAction>
#include <QDate>
#include <QFileDialog>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QMenu>
#include <QMessageBox>
#include <QtConcurrent>

namespace quillery::ui {

BackupCommands::BackupCommands(Store &store, QWidget *window, QObject *parent)
    : QObject(parent)
    , m_store(store)
    , m_window(window)
{
    m_backUp = new QAction(tr("Back Up Book…"), this);
    connect(m_backUp, &QAction::triggered, this, &BackupCommands::chooseBackUp);
}

void BackupCommands::addTo(QMenu &menu, QAction *before)
{
    menu.insertAction(before, m_backUp);
    menu.insertSeparator(before);
}

void BackupCommands::chooseBackUp()
{
    QFileDialog *dialog = FileChooser::make(m_window,
        { tr("Back Up Book"), { tr("Quillery books (*.sqlite)"), tr("All files (*)") }, QFileDialog::AcceptSave,
            QStringLiteral("sqlite"), QStringLiteral("backupFileDialog") });
    dialog->selectFile(QStringLiteral("Quillery %1.sqlite").arg(QDate::currentDate().toString(Qt::ISODate)));
    connect(dialog, &QFileDialog::fileSelected, this, &BackupCommands::backUpTo);
    dialog->open();
}

void BackupCommands::backUpTo(const QString &path)
{
    // The book itself is never a target: the copy would replace it.
    if (QFileInfo(path).canonicalFilePath() == QFileInfo(m_store.path()).canonicalFilePath()) {
        tell(tr("The book can't be backed up onto itself. Choose another file."), true);
        return;
    }
    m_store.save();
    auto *watcher = new QFutureWatcher<BookCopy::Result>(this);
    connect(watcher, &QFutureWatcher<BookCopy::Result>::finished, this, [this, watcher, path] {
        const BookCopy::Result result = watcher->result();
        watcher->deleteLater();
        const QString name = QFileInfo(path).fileName();
        if (result.ok)
            tell(tr("The book was backed up to “%1”.").arg(name), false);
        else
            tell(
                tr("“%1” could not be written. %2").arg(name, result.diskFull ? tr("The disk is full.") : result.error),
                true);
    });
    watcher->setFuture(QtConcurrent::run(&BookCopy::copy, m_store.path(), path));
}

void BackupCommands::tell(const QString &text, bool failed)
{
    auto *box = new QMessageBox(
        failed ? QMessageBox::Warning : QMessageBox::Information, tr("Back Up Book"), text, QMessageBox::Ok, m_window);
    box->setObjectName(QStringLiteral("backupSummary"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::WindowModal);
    box->open();
    Q_EMIT finished(text);
}

} // namespace quillery::ui
