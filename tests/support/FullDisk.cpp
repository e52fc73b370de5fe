#include "FullDisk.h"

#include <QFile>
#include <gtest/gtest.h>

#include <atomic>
#include <sqlite3.h>
#include <sys/mount.h>

namespace quillery::test {

namespace {

// The injected failure: a VFS over the default one whose files refuse to
// grow or change while `full` is set.
std::atomic<bool> full { false };
sqlite3_vfs *real = nullptr;
sqlite3_vfs shim {};
sqlite3_io_methods methods {};

struct ShimFile {
    sqlite3_file base;
    sqlite3_file *inner() { return reinterpret_cast<sqlite3_file *>(this + 1); }
};

sqlite3_file *inner(sqlite3_file *file)
{
    return reinterpret_cast<ShimFile *>(file)->inner();
}

int shimOpen(sqlite3_vfs *, sqlite3_filename name, sqlite3_file *file, int flags, int *outFlags)
{
    sqlite3_file *in = reinterpret_cast<ShimFile *>(file)->inner();
    const int rc = real->xOpen(real, name, in, flags, outFlags);
    file->pMethods = in->pMethods ? &methods : nullptr;
    return rc;
}

void installShim()
{
    if (real)
        return;
    real = sqlite3_vfs_find(nullptr);
    shim = *real;
    shim.zName = "quillery-full-disk";
    shim.szOsFile = int(sizeof(ShimFile)) + real->szOsFile;
    shim.xOpen = shimOpen;
    methods.iVersion = 2; // no memory-mapped reads: every write goes through xWrite
    methods.xClose = [](sqlite3_file *f) { return inner(f)->pMethods->xClose(inner(f)); };
    methods.xRead
        = [](sqlite3_file *f, void *b, int n, sqlite3_int64 o) { return inner(f)->pMethods->xRead(inner(f), b, n, o); };
    methods.xWrite = [](sqlite3_file *f, const void *b, int n, sqlite3_int64 o) {
        return full ? SQLITE_FULL : inner(f)->pMethods->xWrite(inner(f), b, n, o);
    };
    methods.xTruncate = [](sqlite3_file *f, sqlite3_int64 size) {
        return full ? SQLITE_FULL : inner(f)->pMethods->xTruncate(inner(f), size);
    };
    methods.xSync = [](sqlite3_file *f, int flags) { return inner(f)->pMethods->xSync(inner(f), flags); };
    methods.xFileSize = [](sqlite3_file *f, sqlite3_int64 *s) { return inner(f)->pMethods->xFileSize(inner(f), s); };
    methods.xLock = [](sqlite3_file *f, int l) { return inner(f)->pMethods->xLock(inner(f), l); };
    methods.xUnlock = [](sqlite3_file *f, int l) { return inner(f)->pMethods->xUnlock(inner(f), l); };
    methods.xCheckReservedLock
        = [](sqlite3_file *f, int *r) { return inner(f)->pMethods->xCheckReservedLock(inner(f), r); };
    methods.xFileControl
        = [](sqlite3_file *f, int op, void *a) { return inner(f)->pMethods->xFileControl(inner(f), op, a); };
    methods.xSectorSize = [](sqlite3_file *f) { return inner(f)->pMethods->xSectorSize(inner(f)); };
    methods.xDeviceCharacteristics
        = [](sqlite3_file *f) { return inner(f)->pMethods->xDeviceCharacteristics(inner(f)); };
    methods.xShmMap = [](sqlite3_file *f, int region, int size, int extend, void volatile **p) {
        return inner(f)->pMethods->xShmMap(inner(f), region, size, extend, p);
    };
    methods.xShmLock
        = [](sqlite3_file *f, int o, int n, int flags) { return inner(f)->pMethods->xShmLock(inner(f), o, n, flags); };
    methods.xShmBarrier = [](sqlite3_file *f) { inner(f)->pMethods->xShmBarrier(inner(f)); };
    methods.xShmUnmap = [](sqlite3_file *f, int d) { return inner(f)->pMethods->xShmUnmap(inner(f), d); };
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
