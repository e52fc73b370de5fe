#include "FullDisk.h"

#include <QFile>
#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <sqlite3.h>
#include <sys/mount.h>

namespace quillery::test {

namespace {

// The injected failure: the default VFS, whose files' methods are swapped
// for a copy that refuses to write or truncate while `full` is set. SQLite
// has a table of methods per way of locking; each gets its copy.
std::atomic<bool> full { false };
sqlite3_vfs *real = nullptr;
sqlite3_vfs shim {};
struct Swap {
    const sqlite3_io_methods *original = nullptr;
    sqlite3_io_methods copy {};
};
std::array<Swap, 8> swaps;

const sqlite3_io_methods *originalOf(sqlite3_file *file)
{
    for (const Swap &swap : swaps) {
        if (&swap.copy == file->pMethods)
            return swap.original;
    }
    return nullptr;
}

int refusingWrite(sqlite3_file *f, const void *b, int n, sqlite3_int64 o)
{
    return full ? SQLITE_FULL : originalOf(f)->xWrite(f, b, n, o);
}

int refusingTruncate(sqlite3_file *f, sqlite3_int64 size)
{
    return full ? SQLITE_FULL : originalOf(f)->xTruncate(f, size);
}

int openSwapped(sqlite3_vfs *, sqlite3_filename name, sqlite3_file *file, int flags, int *outFlags)
{
    const int rc = real->xOpen(real, name, file, flags, outFlags);
    for (Swap &swap : swaps) {
        if (!file->pMethods || (swap.original && swap.original != file->pMethods))
            continue;
        if (!swap.original) {
            swap.original = file->pMethods;
            swap.copy = *file->pMethods;
            swap.copy.xWrite = refusingWrite;
            swap.copy.xTruncate = refusingTruncate;
        }
        file->pMethods = &swap.copy;
        break;
    }
    return rc;
}

void installShim()
{
    if (real)
        return;
    real = sqlite3_vfs_find(nullptr);
    shim = *real;
    shim.zName = "quillery-full-disk";
    shim.xOpen = openSwapped;
    sqlite3_vfs_register(&shim, 1);
}

} // namespace

FullDisk::FullDisk()
{
    // QUILLERY_TEST_NO_MOUNT=1 tries the injected failures as root too.
    const QByteArray where = QFile::encodeName(m_dir.path());
    m_mounted = !qEnvironmentVariableIsSet("QUILLERY_TEST_NO_MOUNT")
        && ::mount("tmpfs", where.constData(), "tmpfs", MS_NOSUID | MS_NODEV, "size=1m,mode=0700") == 0;
    if (!m_mounted)
        installShim();
}

FullDisk::~FullDisk()
{
    full = false;
    if (m_mounted)
        ::umount2(QFile::encodeName(m_dir.path()).constData(), MNT_DETACH);
}

void FullDisk::fill()
{
    if (!m_mounted) {
        full = true;
        return;
    }
    QFile filler(filePath(QStringLiteral("filler")));
    ASSERT_TRUE(filler.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered));
    const QByteArray block(4096, 'x');
    while (filler.write(block) == block.size()) { }
}

void FullDisk::free()
{
    full = false;
    if (m_mounted)
        QFile::remove(filePath(QStringLiteral("filler")));
}

} // namespace quillery::test
