#include "DialogAttachmentPicker.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QImageReader>
#include <QStandardPaths>

namespace quillery::ui {

namespace {

void showDialog(QFileDialog *dialog, AttachmentPicker::Done done)
{
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setFileMode(QFileDialog::ExistingFiles);
    dialog->setWindowModality(Qt::WindowModal);
    QObject::connect(dialog, &QFileDialog::filesSelected, dialog, [done = std::move(done)](const QStringList &files) {
        if (!files.isEmpty())
            done(files);
    });
    dialog->open();
}

} // namespace

void DialogAttachmentPicker::pickPhotos(QWidget *parent, Done done)
{
    auto *dialog
        = new QFileDialog(parent, QCoreApplication::translate("quillery::ui::DialogAttachmentPicker", "Choose Photos"),
            QStandardPaths::writableLocation(QStandardPaths::PicturesLocation));
    QStringList mimeTypes;
    for (const QByteArray &type : QImageReader::supportedMimeTypes())
        mimeTypes.append(QString::fromLatin1(type));
    mimeTypes.sort();
    // One filter with every image type first, so all photos show at once.
    dialog->setMimeTypeFilters(mimeTypes);
    QStringList filters = dialog->nameFilters();
    QStringList patterns;
    for (const QString &filter : std::as_const(filters)) {
        const qsizetype open = filter.indexOf(u'(');
        const qsizetype close = filter.lastIndexOf(u')');
        if (open >= 0 && close > open)
            patterns.append(filter.mid(open + 1, close - open - 1));
    }
    filters.prepend(
        QCoreApplication::translate("quillery::ui::DialogAttachmentPicker", "Images (%1)").arg(patterns.join(u' ')));
    dialog->setNameFilters(filters);
    dialog->selectNameFilter(filters.first());
    showDialog(dialog, std::move(done));
}

void DialogAttachmentPicker::pickFiles(QWidget *parent, Done done)
{
    auto *dialog
        = new QFileDialog(parent, QCoreApplication::translate("quillery::ui::DialogAttachmentPicker", "Choose Files"),
            QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    showDialog(dialog, std::move(done));
}

} // namespace quillery::ui
