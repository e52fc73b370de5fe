// Test main for the core: a QCoreApplication (signals, timers and threads
// work) and nothing from the widget toolkit.
#include "TestEnvironment.h"
#include "core/app/Translations.h"

#include <QCoreApplication>
#include <gmock/gmock.h>

int main(int argc, char **argv)
{
    quillery::test::isolateUserDirectories();
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Quillery"));
    // The texts in the language the tests run under (CTest gives them
    // C.UTF-8: English, with its plural forms).
    quillery::Translations translations;
    translations.install();
    ::testing::InitGoogleMock(&argc, argv);
    return RUN_ALL_TESTS();
}
