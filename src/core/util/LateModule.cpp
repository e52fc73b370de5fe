#include "LateModule.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QPluginLoader>

namespace quillery {

QStringList LateModule::folders()
{
    QStringList result;
    const QString extra = qEnvironmentVariable("QUILLERY_MODULE_PATH");
    for (const QString &folder : extra.split(u':', Qt::SkipEmptyParts))
        result << folder;
    // Not QCoreApplication::applicationDirPath(): a module may be wanted
    // before the application object exists, and tests run without one.
    const QString program = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
    if (!program.isEmpty())
        result << QDir::cleanPath(QFileInfo(program).absolutePath() + QStringLiteral("/../lib/quillery"));
    return result;
}

QObject *LateModule::instance(const QString &name, QString *why)
{
    // Loaded modules are kept by name; two threads asking at once get one.
    static QMutex lock;
    static QHash<QString, QObject *> loaded;
    const QMutexLocker locked(&lock);
    if (QObject *root = loaded.value(name))
        return root;

    const QString file = QStringLiteral("quillery-%1.so").arg(name);
    const QStringList searched = folders();
    for (const QString &folder : searched) {
        const QString path = QDir(folder).filePath(file);
        if (!QFileInfo::exists(path))
            continue;
        // The loader is never unloaded: the module's code must outlive every
        // object it made.
        auto *loader = new QPluginLoader(path);
        QObject *root = loader->instance();
        if (!root) {
            if (why)
                *why = QStringLiteral("the module %1 cannot be loaded: %2").arg(path, loader->errorString());
            delete loader;
            return nullptr;
        }
        loaded.insert(name, root);
        return root;
    }
    if (why)
        *why = QStringLiteral("the module %1 is not in %2").arg(file, searched.join(QStringLiteral(", ")));
    return nullptr;
}

} // namespace quillery
