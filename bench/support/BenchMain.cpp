// Benchmark main: a QApplication on the offscreen platform (so widgets can be
// measured too) with the user's folders pointed at a temporary home.
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "ui/theme/PixmapCacheSize.h"
#include "ui/theme/Symbols.h"

int main(int argc, char **argv)
{
    QTemporaryDir home(QDir::tempPath() + QStringLiteral("/quillery-bench-XXXXXX"));
    for (const char *name : { "HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME" })
        ::setenv(name, QFile::encodeName(home.path()).constData(), 1);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillery"));
    quillery::ui::Symbols::installIconTheme();
    quillery::ui::reservePixmapCache();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
