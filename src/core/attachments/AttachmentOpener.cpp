#include "AttachmentOpener.h"

#include "FileLauncher.h"
#include "SafeFileName.h"
#include "core/model/Attachment.h"
#include "core/model/TypeRegistry.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLoggingCategory>
#include <QTemporaryDir>

#include <utility>

namespace quillery {

Q_LOGGING_CATEGORY(lcOpen, "quillery.attachments.open")

AttachmentOpener::AttachmentOpener(FileLauncher &launcher, const TypeRegistry &types, QString temporaryRoot)
    : m_launcher(launcher)
    , m_types(types)
    , m_root(temporaryRoot.isEmpty() ? QDir::tempPath() : std::move(temporaryRoot))
{ }

AttachmentOpener::~AttachmentOpener()
{
    for (const QString &folder : std::as_const(m_folders))
        QDir(folder).removeRecursively();
}

std::optional<QString> AttachmentOpener::open(const Attachment &attachment)
{
    const std::optional<QByteArray> data = attachment.data();
    if (!data)
        return std::nullopt;

    QString fallback = QCoreApplication::translate("quillery::AttachmentOpener", "Attachment");
    const QString extension = m_types.preferredExtension(attachment.typeIdentifier());
    if (!extension.isEmpty())
        fallback += u'.' + extension;
    const QString fileName = safeFileName(attachment.name(), fallback);

    // mkdtemp: a new folder only this user can enter, so nothing that was
    // there before (or that someone else plants) can be overwritten.
    QTemporaryDir folder(QDir(m_root).filePath(QStringLiteral("quillery-XXXXXX")));
    if (!folder.isValid()) {
        qCWarning(lcOpen) << "no private folder for an attachment:" << folder.errorString();
        return std::nullopt;
    }
    // Kept for the application that opens the file while Quillery runs;
    // removed with the opener, when the program quits.
    folder.setAutoRemove(false);
    m_folders.append(folder.path());
    const QString path = folder.filePath(fileName);

    QFile file(path);
    const bool written
        = file.open(QIODevice::WriteOnly | QIODevice::NewOnly, QFileDevice::ReadOwner | QFileDevice::WriteOwner)
        && file.write(*data) == data->size() && file.flush();
    if (!written) {
        // A missing or partial file would open as something it is not (a
        // truncated document, an empty picture): nothing is handed over.
        qCWarning(lcOpen) << "could not write the attachment's file:" << file.errorString();
        file.close();
        if (file.exists())
            file.remove();
        QDir().rmdir(folder.path());
        return std::nullopt;
    }
    file.close();
    if (!m_launcher.openFile(path))
        qCWarning(lcOpen) << "the desktop could not open the attachment's file";
    return path;
}

} // namespace quillery
