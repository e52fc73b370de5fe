#pragma once

#include "CalDavQueue.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>
#include <QUuid>

namespace quillery {

// One task on the server as it was when the two sides last agreed on it.
struct CalDavItem {
    QString href; // the resource's path on the server
    QString etag;
    QUuid task;
    qint64 synced = 0; // the task's stamp here when they agreed
};

// A page linked to a task list on a task server: where the list is, who
// signs in (the password is in the desktop's secret store, never here), how
// far the server's changes have been read, what each side last agreed on,
// and the changes waiting to be sent.
struct CalDavLink {
    QUuid page;
    QString server; // the address the user gave
    QString user;
    QString collection; // the list's full URL
    QString listName;
    QString syncToken;
    QString ctag;
    QHash<QString, CalDavItem> items; // by UID
    CalDavQueue queue;
    QDateTime lastSuccess;
};

// The links of one book, kept in a file of their own beside it (mode 0600:
// it names tasks and servers). Written whole through a temporary file, so a
// kill mid-write leaves the previous version.
class CalDavLinkFile final
{
public:
    explicit CalDavLinkFile(QString path)
        : m_path(std::move(path))
    { }
    static QString besideBook(const QString &bookPath) { return bookPath + QStringLiteral("-caldav"); }

    QString path() const { return m_path; }
    // A missing file is no links; an unreadable one is an error, and the
    // links are then left alone rather than overwritten.
    bool load(QList<CalDavLink> &links, QString *error = nullptr) const;
    bool save(const QList<CalDavLink> &links, QString *error = nullptr) const;

private:
    QString m_path;
};

} // namespace quillery
