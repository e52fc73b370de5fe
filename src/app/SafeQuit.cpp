#include "SafeQuit.h"

#include "core/model/RecoveryJournal.h"
#include "core/model/Store.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QWidget>

#include <cstdio>

namespace quillery {

namespace {

void tell(const QString &message)
{
    std::fprintf(stderr, "quillery: %s\n", qPrintable(message));
    std::fflush(stderr);
}

QString changes(int count)
{
    return QCoreApplication::translate("SafeQuit", "%n unsaved changes", nullptr, count);
}

} // namespace

SafeQuit::SafeQuit(Store &store, QWidget *window, QObject *parent)
    : QObject(parent)
    , m_store(store)
{
    setWindow(window);
}

void SafeQuit::setWindow(QWidget *window)
{
    if (m_window)
        m_window->removeEventFilter(this);
    m_window = window;
    if (m_window)
        m_window->installEventFilter(this);
}

bool SafeQuit::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_window && event->type() == QEvent::Close && !m_finished) {
        event->ignore();
        if (m_question)
            return true;
        if (m_keepRunning && m_keepRunning()) {
            // Saved now, while the window is there to show a failure; the
            // changes stay in memory and saving goes on retrying.
            m_store.save();
            Q_EMIT closedToBackground();
            return true;
        }
        requestQuit();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void SafeQuit::requestQuit()
{
    if (m_question || m_finished)
        return;
    if (m_store.save()) {
        finish(Saved);
        return;
    }
    const int count = m_store.unsavedChangeCount();
    auto *box = new QMessageBox(m_window);
    box->setIcon(QMessageBox::Warning);
    box->setText(tr("Quit and lose %n unsaved changes?", nullptr, count));
    box->setInformativeText(tr("Quillery could not save the book: %1.").arg(m_store.saveError()));
    QPushButton *quit = box->addButton(tr("Quit"), QMessageBox::DestructiveRole);
    QPushButton *cancel = box->addButton(QMessageBox::Cancel);
    box->setDefaultButton(cancel);
    box->setEscapeButton(cancel);
    box->setWindowModality(Qt::WindowModal);
    box->setAttribute(Qt::WA_DeleteOnClose);
    connect(box, &QMessageBox::finished, this, [this, box, quit] {
        if (box->clickedButton() != quit || m_finished)
            return;
        // Space may have come free while the question was open.
        if (m_store.save()) {
            finish(Saved);
            return;
        }
        tell(QStringLiteral("quit without saving %1 to %2: %3")
                 .arg(changes(m_store.unsavedChangeCount()), m_store.path(), m_store.saveError()));
        finish(Discarded);
    });
    m_question = box;
    box->open();
}

void SafeQuit::terminate()
{
    if (m_finished)
        return;
    if (m_question)
        m_question->deleteLater();
    finish(saveOrJournal());
}

void SafeQuit::commitSession()
{
    m_exitCode = saveOrJournal();
}

int SafeQuit::saveOrJournal()
{
    if (m_store.save())
        return Saved;
    const QString unsaved = changes(m_store.unsavedChangeCount());
    QString why;
    if (const auto journal = RecoveryJournal::write(m_store, RecoveryJournal::locations(m_store.path()), &why)) {
        tell(QStringLiteral("cannot save the book %1 (%2); %3 kept in %4 for the next start to restore")
                 .arg(m_store.path(), m_store.saveError(), unsaved, *journal));
        return InJournal;
    }
    tell(QStringLiteral("cannot save the book %1 (%2) nor keep its %3 anywhere else (%4): they are lost")
             .arg(m_store.path(), m_store.saveError(), unsaved, why));
    return Lost;
}

void SafeQuit::finish(int exitCode)
{
    m_finished = true;
    m_exitCode = exitCode;
    Q_EMIT finished(exitCode);
}

} // namespace quillery
