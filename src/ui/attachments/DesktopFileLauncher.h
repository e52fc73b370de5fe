#pragma once

#include "core/attachments/FileLauncher.h"

namespace quillery::ui {

// Opens files with the desktop's default application (QDesktopServices).
class DesktopFileLauncher final : public FileLauncher
{
public:
    bool openFile(const QString &path) override;
};

} // namespace quillery::ui
