// A module that is missing or is not a module is reported, with where the
// program looked and why it would not load, and the caller carries on.
#include "core/util/LateModule.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace quillery;

TEST(LateModule, aMissingOrDamagedModuleIsNamedNotLoaded)
{
    QTemporaryDir dir;
    QFile damaged(dir.filePath(QStringLiteral("quillery-damaged.so")));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write("not a shared object");
    damaged.close();
    qputenv("QUILLERY_MODULE_PATH", QFile::encodeName(dir.path()) + ":/nonexistent");
    EXPECT_EQ(LateModule::folders().first(), dir.path());

    QString why;
    EXPECT_EQ(LateModule::instance(QStringLiteral("absent"), &why), nullptr);
    EXPECT_TRUE(why.contains(QStringLiteral("quillery-absent.so"))) << why.toStdString();
    EXPECT_TRUE(why.contains(dir.path())) << why.toStdString();

    why.clear();
    EXPECT_EQ(LateModule::instance(QStringLiteral("damaged"), &why), nullptr);
    EXPECT_TRUE(why.contains(QStringLiteral("cannot be loaded"))) << why.toStdString();
    qunsetenv("QUILLERY_MODULE_PATH");
}
