#pragma once

#include <QObject>
#include <QString>

namespace quillery {

// The program-wide broadcast of the book commands. The menu and the toolbar
// post a command name; the book listens. Nothing waits for a listener: with
// no book listening a command has no effect.
class CommandBus final : public QObject
{
    Q_OBJECT
public:
    static inline const QString Next = QStringLiteral("quillery.next");
    static inline const QString Previous = QStringLiteral("quillery.prev");
    static inline const QString Contents = QStringLiteral("quillery.contents");

    using QObject::QObject;

    void post(const QString &name) { Q_EMIT posted(name); }

Q_SIGNALS:
    void posted(const QString &name);
};

} // namespace quillery
