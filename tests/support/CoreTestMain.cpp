// Test main for the core: a QCoreApplication (signals, timers and threads
// work) and nothing from the widget toolkit.
#include "TestEnvironment.h"

#include <QCoreApplication>
#include <gmock/gmock.h>

int main(int argc, char **argv)
{
    quillery::test::isolateUserDirectories();
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Quillery"));
    ::testing::InitGoogleMock(&argc, argv);
    return RUN_ALL_TESTS();
}
