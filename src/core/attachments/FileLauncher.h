#pragma once

#include <QString>

namespace quillery {

// Opens a local file with the desktop's default application for its type.
// The program uses the desktop's; tests record what would have been opened.
class FileLauncher
{
public:
    virtual ~FileLauncher() = default;
    // False when the desktop could not be asked.
    virtual bool openFile(const QString &path) = 0;
};

} // namespace quillery
