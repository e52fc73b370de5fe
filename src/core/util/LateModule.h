#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

namespace quillery {

// Finds and loads the program's own modules: the parts that bring large
// libraries the first window does not need (the PostgreSQL client, the city
// gazetteer, the PDF rewriter). Each module is a Qt plugin in a folder of its
// own beside the program (`<program folder>/../lib/quillery`, which holds in
// the build tree and wherever the program is installed) and implements one
// interface declared where it is used. A module is loaded the first time it
// is asked for, on whichever thread asks, and stays loaded: the objects it
// made may live until the program ends.
class LateModule final
{
public:
    // The folders searched, in order: those in $QUILLERY_MODULE_PATH (colon
    // separated), then the one beside the program.
    static QStringList folders();

    // The module's root object, or null with `why` saying what went wrong
    // (no such file in any folder, or the file would not load).
    static QObject *instance(const QString &name, QString *why = nullptr);

    // The module's implementation of `Interface`, or null with `why` filled.
    template <class Interface> static Interface *load(const QString &name, QString *why = nullptr)
    {
        QObject *root = instance(name, why);
        auto *implementation = qobject_cast<Interface *>(root);
        if (root && !implementation && why)
            *why = QStringLiteral("the module %1 does not provide %2")
                       .arg(name, QLatin1String(qobject_interface_iid<Interface *>()));
        return implementation;
    }
};

} // namespace quillery
