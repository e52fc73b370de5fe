#pragma once

#include <QString>

#include <optional>

namespace quillery {

class Attachment;
class FileLauncher;

// Opens a file attachment in the desktop's default application: its bytes are
// written to a file named after the attachment in a fresh private folder
// (mode 0700) under the temporary directory, and the launcher is asked to
// open that file.
//
// The name comes from the record, which any device of the book can write, so
// it is reduced to a safe file name first (see safeFileName): the file never
// lands outside its own folder and never replaces a file that was there
// before. The folders are left behind on purpose, for the application that
// opened the file; the system clears its temporary directory.
class AttachmentOpener final
{
public:
    explicit AttachmentOpener(FileLauncher &launcher, QString temporaryRoot = QString());

    // The file handed to the launcher, or none when the attachment has no
    // bytes, no private folder could be made or the file could not be
    // written whole (the launcher is then not called).
    std::optional<QString> open(const Attachment &attachment);

private:
    FileLauncher &m_launcher;
    QString m_root;
};

} // namespace quillery
