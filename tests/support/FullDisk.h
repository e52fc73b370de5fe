#pragma once

#include <QString>
#include <QTemporaryDir>

namespace quillery::test {

// A folder whose disk can be filled and freed again. When this process may
// mount (as root), a 1 MiB tmpfs is mounted on it and filled with a file
// for real; otherwise SQLite's writes are made to fail with SQLITE_FULL
// through a VFS of its own, and other files are written normally.
class FullDisk
{
public:
    FullDisk();
    ~FullDisk();
    FullDisk(const FullDisk &) = delete;
    FullDisk &operator=(const FullDisk &) = delete;

    QString path() const { return m_dir.path(); }
    QString filePath(const QString &name) const { return m_dir.filePath(name); }
    // A real tmpfs, rather than the injected failures.
    bool isReal() const { return m_mounted; }
    const char *kind() const { return m_mounted ? "tmpfs 1 MiB" : "SQLite VFS failing writes"; }

    void fill();
    void free();

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
};

} // namespace quillery::test
