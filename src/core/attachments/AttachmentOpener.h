#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace quillery {

class Attachment;
class FileLauncher;
class TypeRegistry;

// Opens a file attachment in the desktop's default application: its bytes are
// written to a file named after the attachment in a fresh private folder
// (mode 0700) under the temporary directory, and the launcher is asked to
// open that file.
//
// The name comes from the record, which any device of the book can write, so
// it is reduced to a safe file name first (see safeFileName): the file never
// lands outside its own folder and never replaces a file that was there
// before. The folders stay while the opener lives (the application that
// opened a file may read it at any time): the program keeps one opener
// until it quits, and the folders go with it.
class AttachmentOpener final
{
public:
    // `types` gives a nameless attachment its extension.
    AttachmentOpener(FileLauncher &launcher, const TypeRegistry &types, QString temporaryRoot = QString());
    // Removes every folder made for opened files.
    ~AttachmentOpener();
    AttachmentOpener(const AttachmentOpener &) = delete;
    AttachmentOpener &operator=(const AttachmentOpener &) = delete;

    // The file handed to the launcher, or none when the attachment has no
    // bytes, no private folder could be made or the file could not be
    // written whole (the launcher is then not called).
    std::optional<QString> open(const Attachment &attachment);

private:
    FileLauncher &m_launcher;
    const TypeRegistry &m_types;
    QString m_root;
    QStringList m_folders;
};

} // namespace quillery
