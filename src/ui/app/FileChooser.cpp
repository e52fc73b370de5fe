#include "FileChooser.h"

#include <QDir>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QStandardPaths>

namespace quillery::ui {

QFileDialog *FileChooser::make(QWidget *window, const Options &options)
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!QDir(folder).exists())
        folder = QDir::homePath();
    auto *dialog = new QFileDialog(window, options.title, folder);
    dialog->setObjectName(options.objectName);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setNameFilters(options.filters);
    dialog->setAcceptMode(options.mode);
    const bool saving = options.mode == QFileDialog::AcceptSave;
    dialog->setFileMode(saving ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (saving && !options.suffix.isEmpty())
        dialog->setDefaultSuffix(options.suffix);
    if (QGuiApplication::platformName() == QLatin1String("offscreen"))
        dialog->setOption(QFileDialog::DontUseNativeDialog);
    return dialog;
}

QString FileChooser::fileNameFor(const QString &title, const QString &fallback, const QString &suffix)
{
    static const QRegularExpression unsafe(QStringLiteral("[/\\\\:*?\"<>|]"));
    QString name = title.simplified();
    name.replace(unsafe, QStringLiteral("-"));
    if (name.isEmpty() || name.startsWith(u'.'))
        name = fallback;
    return name + u'.' + suffix;
}

} // namespace quillery::ui
