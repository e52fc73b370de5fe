// The user's preferences file replaced by something that is not a small file:
// the start must neither wait nor fill memory, and the preferences must work
// on from their defaults.
#include "core/app/Preferences.h"
#include "support/HostileFiles.h"
#include "support/PeakMemory.h"

#include <QDir>
#include <QStandardPaths>
#include <gtest/gtest.h>

using namespace quillery;
using namespace quillery::test;

TEST(PreferencesFile, whatIsNotASmallFileIsMovedAsideAndTheDefaultsApply)
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/Quillery";
    const QString path = folder + QStringLiteral("/Quillery.conf");
    ASSERT_TRUE(QDir().mkpath(folder));
    const struct {
        const char *what;
        std::function<bool()> make;
    } impostors[] = {
        { "a FIFO", [&] { return makeFifo(path); } },
        { "a link to an endless device", [&] { return linkTo(QStringLiteral("/dev/zero"), path); } },
        { "a file of 64 MB", [&] { return writeBigFile(path, 64 * 1024 * 1024); } },
    };
    for (const auto &impostor : impostors) {
        SCOPED_TRACE(impostor.what);
        QFile::remove(path);
        ASSERT_TRUE(impostor.make());
        const PeakMemory memory;
        EXPECT_TRUE(finishesWithoutWaitingOn(path, [] {
            Preferences preferences;
            EXPECT_FALSE(preferences.hideCompleted());
            preferences.setHideCompleted(true);
        }));
        EXPECT_LT(memory.growthBytes(), 16 * 1024 * 1024);
        EXPECT_TRUE(QFileInfo(path).isFile()) << "a sound file written in its place";
        EXPECT_TRUE(Preferences().hideCompleted());
        const QStringList aside
            = QDir(folder).entryList({ QStringLiteral("Quillery.conf.damaged-*") }, QDir::Files | QDir::System);
        ASSERT_EQ(aside.size(), 1);
        EXPECT_TRUE(QFile::remove(folder + u'/' + aside.first()));
    }
    QFile::remove(path);
}
