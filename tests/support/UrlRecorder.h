#pragma once

// Stands in for the desktop's browser: registered for a URL scheme with
// QDesktopServices, it records the links it is asked to open.

#include <QList>
#include <QObject>
#include <QUrl>

namespace quillery::test {

class UrlRecorder final : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> opened;

public Q_SLOTS:
    void open(const QUrl &url) { opened.append(url); }
};

} // namespace quillery::test
