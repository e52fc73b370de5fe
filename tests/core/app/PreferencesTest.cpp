#include "core/app/Preferences.h"

#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace quillery;

namespace {
std::unique_ptr<QSettings> settingsIn(const QTemporaryDir &dir)
{
    return std::make_unique<QSettings>(dir.filePath(QStringLiteral("Quillery.conf")), QSettings::IniFormat);
}
} // namespace

TEST(Preferences, changesAreSignalledOnceAndStoredUnderTheirKeys)
{
    QTemporaryDir dir;
    {
        Preferences prefs(settingsIn(dir));
        QSignalSpy hide(&prefs, &Preferences::hideCompletedChanged);
        QSignalSpy face(&prefs, &Preferences::typefaceChanged);
        prefs.setHideCompleted(true);
        prefs.setHideCompleted(true);
        prefs.setTypeface(QStringLiteral("serif"));
        prefs.setCurrentPage(QStringLiteral("E621E1F8-C36C-495A-93FC-0C247A3E6E5F"));
        EXPECT_EQ(hide.count(), 1);
        EXPECT_EQ(face.count(), 1);
    }
    QSettings raw(dir.filePath(QStringLiteral("Quillery.conf")), QSettings::IniFormat);
    EXPECT_EQ(raw.value(QStringLiteral("hideCompleted")).toBool(), true);
    EXPECT_EQ(raw.value(QStringLiteral("typeface")).toString(), QStringLiteral("serif"));
    EXPECT_EQ(
        raw.value(QStringLiteral("currentPage")).toString(), QStringLiteral("E621E1F8-C36C-495A-93FC-0C247A3E6E5F"));

    Preferences again(settingsIn(dir));
    EXPECT_TRUE(again.hideCompleted());
    EXPECT_EQ(again.typeface(), QStringLiteral("serif"));
}
