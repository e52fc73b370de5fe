#include "Screenshot.h"

#include <QDir>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QTest>
#include <QWidget>

namespace quillery::test {

void saveScreenshot(const QString &name, QWidget &window)
{
    const QString folder = qEnvironmentVariable("QUILLERY_SHOT_DIR");
    if (folder.isEmpty())
        return;
    QTest::qWait(300); // animations settle
    QPixmap shot;
    if (QGuiApplication::platformName() == QLatin1String("xcb"))
        shot = window.screen()->grabWindow(0);
    else
        shot = window.grab();
    QDir().mkpath(folder);
    shot.save(QDir(folder).filePath(name + QStringLiteral(".png")));
}

} // namespace quillery::test
