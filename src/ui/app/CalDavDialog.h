#pragma once

#include "core/caldav/CalDavDiscovery.h"
#include "core/model/RecordPointer.h"

#include <QDialog>
#include <QPointer>

#include <memory>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace quillery {
class CalDavLinks;
class Page;
} // namespace quillery

namespace quillery::ui {

// "Sync Page with CalDAV…": asks for the server's address, the user name
// and the password, finds the user's task lists, and links the page to the
// one picked or to a new list named after the page. A page already linked
// shows its list and can be unlinked. The password goes to the secret
// store through the links; the dialog keeps it only while it is open.
class CalDavDialog final : public QDialog
{
    Q_OBJECT
public:
    CalDavDialog(CalDavLinks &links, Page *page, QWidget *parent = nullptr);
    ~CalDavDialog() override;
    // Shows the dialog for `page`; it deletes itself when closed.
    static CalDavDialog *open(CalDavLinks &links, Page *page, QWidget *parent);

    QLineEdit *serverField() const { return m_server; }
    QLineEdit *userField() const { return m_user; }
    QLineEdit *passwordField() const { return m_password; }
    QComboBox *listChoice() const { return m_lists; }
    QPushButton *findButton() const { return m_find; }
    QPushButton *linkButton() const { return m_link; }
    QString message() const;

private:
    void find();
    void linkChosen();
    void finishLink(const CalDavList &list);
    void setBusy(bool busy, const QString &message);

    CalDavLinks &m_links;
    RecordPointer<Page> m_page;
    QLineEdit *m_server = nullptr;
    QLineEdit *m_user = nullptr;
    QLineEdit *m_password = nullptr;
    QComboBox *m_lists = nullptr;
    QPushButton *m_find = nullptr;
    QPushButton *m_link = nullptr;
    QLabel *m_message = nullptr;
    std::unique_ptr<DavClient> m_client;
    std::unique_ptr<CalDavDiscovery> m_discovery;
    QUrl m_home;
};

} // namespace quillery::ui
