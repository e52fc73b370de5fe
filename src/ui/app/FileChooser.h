#pragma once

#include <QFileDialog>
#include <QString>
#include <QStringList>

class QWidget;

namespace quillery::ui {

// The file dialogs of the menu commands that read or write a file of the
// user's: each opens in the documents folder (the home folder when there is
// none), deletes itself when closed, and is the desktop's chooser where a
// desktop can be asked, Qt's own dialog elsewhere (tests, a bare X server).
class FileChooser final
{
public:
    struct Options {
        QString title;
        QStringList filters;
        QFileDialog::AcceptMode mode = QFileDialog::AcceptOpen;
        QString suffix; // added to a name typed without one, when saving
        QString objectName;
    };

    // A dialog ready to open() over `window`; it is not shown yet.
    static QFileDialog *make(QWidget *window, const Options &options);

    // A file name from a page title that file systems and the portal accept:
    // `fallback` stands in for an empty title or one that would hide the
    // file.
    static QString fileNameFor(const QString &title, const QString &fallback, const QString &suffix);
};

} // namespace quillery::ui
