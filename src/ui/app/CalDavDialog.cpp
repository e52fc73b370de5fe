#include "CalDavDialog.h"

#include "core/caldav/CalDavLinks.h"
#include "core/model/Page.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace quillery::ui {

CalDavDialog::CalDavDialog(CalDavLinks &links, Page *page, QWidget *parent)
    : QDialog(parent)
    , m_links(links)
    , m_page(page)
{
    setWindowTitle(tr("Sync Page with CalDAV"));
    setWindowModality(Qt::WindowModal);
    // Wide enough for a server address and a list name in full.
    setMinimumWidth(460);
    auto *layout = new QVBoxLayout(this);
    auto *form = new QFormLayout;
    m_server = new QLineEdit;
    m_server->setPlaceholderText(tr("dav.example.com"));
    m_user = new QLineEdit;
    m_password = new QLineEdit;
    m_password->setEchoMode(QLineEdit::Password);
    m_lists = new QComboBox;
    m_lists->setEnabled(false);
    m_find = new QPushButton(tr("Find Task Lists"));
    form->addRow(tr("Server:"), m_server);
    form->addRow(tr("User name:"), m_user);
    form->addRow(tr("Password:"), m_password);
    form->addRow(QString(), m_find);
    form->addRow(tr("Task list:"), m_lists);
    layout->addLayout(form);
    m_message = new QLabel;
    m_message->setWordWrap(true);
    layout->addWidget(m_message);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Cancel);
    m_link = buttons->addButton(tr("Link"), QDialogButtonBox::AcceptRole);
    m_link->setEnabled(false);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_link, &QPushButton::clicked, this, &CalDavDialog::linkChosen);
    connect(m_find, &QPushButton::clicked, this, &CalDavDialog::find);

    if (const auto existing = m_links.linkOf(page)) {
        m_server->setText(existing->server);
        m_user->setText(existing->user);
        m_message->setText(tr("This page is kept in step with “%1”. Pick another list to link it there instead.")
                               .arg(existing->listName));
        QPushButton *unlink = buttons->addButton(tr("Unlink"), QDialogButtonBox::DestructiveRole);
        connect(unlink, &QPushButton::clicked, this, [this] {
            m_links.unlink(m_page);
            accept();
        });
    }
}

CalDavDialog::~CalDavDialog()
{
    // Requests under way are answered (as cancelled) before the discovery goes.
    m_client.reset();
}

CalDavDialog *CalDavDialog::open(CalDavLinks &links, Page *page, QWidget *parent)
{
    auto *dialog = new CalDavDialog(links, page, parent);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->show();
    return dialog;
}

QString CalDavDialog::message() const
{
    return m_message->text();
}

void CalDavDialog::setBusy(bool busy, const QString &message)
{
    m_find->setEnabled(!busy);
    m_link->setEnabled(!busy && m_lists->count() > 0);
    m_message->setText(message);
}

void CalDavDialog::find()
{
    const QUrl server = CalDavDiscovery::serverUrl(m_server->text());
    if (!server.isValid() || m_user->text().trimmed().isEmpty()) {
        m_message->setText(tr("Enter the server's address and your user name."));
        return;
    }
    m_lists->clear();
    m_lists->setEnabled(false);
    m_client.reset();
    m_client = m_links.backend().client(m_user->text().trimmed(), m_password->text());
    m_discovery = std::make_unique<CalDavDiscovery>(*m_client);
    setBusy(true, tr("Looking for task lists…"));
    m_discovery->find(server, [this, guard = QPointer<CalDavDialog>(this)](const CalDavDiscovery::Found &found) {
        if (!guard)
            return;
        if (!found.error.isEmpty()) {
            setBusy(false,
                found.status == 401     ? tr("The server did not accept the user name and password.")
                    : found.status == 0 ? tr("The server could not be reached: %1").arg(found.error)
                                        : tr("No task lists were found there: %1").arg(found.error));
            return;
        }
        m_home = found.home;
        const QString title = m_page ? m_page->title() : QString();
        m_lists->addItem(tr("New List “%1”").arg(title.isEmpty() ? tr("Untitled") : title));
        for (const CalDavList &list : found.lists)
            m_lists->addItem(list.name, list.url);
        m_lists->setCurrentIndex(found.lists.isEmpty() ? 0 : 1);
        m_lists->setEnabled(true);
        setBusy(false, tr("Task lists found: %1").arg(found.lists.size()));
    });
}

void CalDavDialog::linkChosen()
{
    if (!m_page || !m_discovery)
        return;
    if (m_lists->currentIndex() > 0) {
        finishLink({ m_lists->currentData().toUrl(), m_lists->currentText() });
        return;
    }
    const QString name = m_page->title().isEmpty() ? tr("Untitled") : m_page->title();
    setBusy(true, tr("Making the list…"));
    m_discovery->create(
        m_home, name, [this, guard = QPointer<CalDavDialog>(this)](const CalDavList &list, const QString &error) {
            if (!guard)
                return;
            if (!error.isEmpty()) {
                setBusy(false, tr("The list could not be made: %1").arg(error));
                return;
            }
            finishLink(list);
        });
}

void CalDavDialog::finishLink(const CalDavList &list)
{
    setBusy(true, tr("Linking…"));
    m_links.link(m_page, CalDavDiscovery::serverUrl(m_server->text()).toString(), m_user->text().trimmed(),
        m_password->text(), list.url, list.name, [this, guard = QPointer<CalDavDialog>(this)](const QString &error) {
            if (!guard)
                return;
            if (!error.isEmpty()) {
                setBusy(false, tr("The password could not be kept in the secret store: %1").arg(error));
                return;
            }
            m_password->clear();
            accept();
        });
}

} // namespace quillery::ui
