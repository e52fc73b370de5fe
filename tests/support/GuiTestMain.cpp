// Test main for widgets and platform adapters: a QApplication on the
// offscreen platform unless a display platform was asked for explicitly.
#include "TestEnvironment.h"
#include "core/app/Translations.h"

#include <QApplication>
#include <gmock/gmock.h>

#include "ui/theme/PixmapCacheSize.h"
#include "ui/theme/Symbols.h"

int main(int argc, char **argv)
{
    quillery::test::isolateUserDirectories();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillery"));
    quillery::ui::Symbols::installIconTheme();
    quillery::ui::reservePixmapCache();
    // The texts in the language the tests run under (CTest gives them
    // C.UTF-8: English, with its plural forms).
    quillery::Translations translations;
    translations.install();
    ::testing::InitGoogleMock(&argc, argv);
    return RUN_ALL_TESTS();
}
