#include "TestEnvironment.h"

#include <QDir>
#include <QTemporaryDir>
#include <cstdlib>
#include <unistd.h>

namespace quillery::test {

namespace {

// Removed when the test program ends, but only by the process that made it
// (a forked child that exits must not take its parent's home away).
struct Home {
    QTemporaryDir dir { QDir::tempPath() + QStringLiteral("/quillery-test-XXXXXX") };
    pid_t owner = ::getpid();
    Home() { dir.setAutoRemove(false); }
    ~Home()
    {
        if (::getpid() == owner)
            dir.remove();
    }
};

QTemporaryDir *home()
{
    static Home home;
    return &home.dir;
}

} // namespace

void isolateUserDirectories()
{
    const QString root = home()->path();
    const auto set = [&](const char *name, const QString &sub) {
        const QString path = root + sub;
        QDir().mkpath(path);
        ::setenv(name, QFile::encodeName(path).constData(), 1);
    };
    set("HOME", QString());
    set("XDG_CONFIG_HOME", QStringLiteral("/.config"));
    set("XDG_DATA_HOME", QStringLiteral("/.local/share"));
    set("XDG_CACHE_HOME", QStringLiteral("/.cache"));
    set("XDG_STATE_HOME", QStringLiteral("/.local/state"));
    set("XDG_RUNTIME_DIR", QStringLiteral("/run"));
    QFile::setPermissions(
        root + QStringLiteral("/run"), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

QString temporaryHome()
{
    return home()->path();
}

QString testDataPath(const QString &relative)
{
    const QByteArray base = qgetenv("QUILLERY_TEST_DATA");
    return QDir(QString::fromLocal8Bit(base)).filePath(relative);
}

} // namespace quillery::test
