// The preferences file (Quillery.conf) with any contents: reading it never
// fails the program, and a preference set afterwards is the one read back.
#include "core/app/Preferences.h"
#include "FuzzCheck.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include <cstdint>

using namespace quillery;

namespace {
QString path;
}

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    static QCoreApplication application(*argc, *argv);
    // Every run writes the file and syncs it: in memory where possible.
    const QString memory = QStringLiteral("/dev/shm");
    static QTemporaryDir folder(
        (QDir(memory).exists() ? memory : QDir::tempPath()) + QStringLiteral("/quillery-XXXXXX"));
    path = folder.filePath(QStringLiteral("Quillery.conf"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        file.write(reinterpret_cast<const char *>(data), qint64(size));
    }
    bool hidden = false;
    {
        Preferences preferences(std::make_unique<QSettings>(path, QSettings::IniFormat));
        hidden = !preferences.hideCompleted();
        (void)preferences.typeface();
        (void)preferences.currentPage();
        preferences.setHideCompleted(hidden);
    }
    Preferences again(std::make_unique<QSettings>(path, QSettings::IniFormat));
    FUZZ_CHECK(again.hideCompleted() == hidden);
    return 0;
}
