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
// before. The folders stay while the program runs (the application that
// opened a file may read it at any time) and are removed when it quits.
class AttachmentOpener final
{
public:
    explicit AttachmentOpener(FileLauncher &launcher, QString temporaryRoot = QString());

    // The file handed to the launcher, or none when the attachment has no
    // bytes or no private folder could be made. A file that could not be
    // written is still handed over (the application then reports it missing).
    std::optional<QString> open(const Attachment &attachment);

    // Removes every folder made for opened files so far. Runs by itself when
    // the application object is destroyed.
    static void removeOpenedFolders();

private:
    FileLauncher &m_launcher;
    QString m_root;
};

} // namespace quillery
