#include "SyncEvent.h"

namespace quillery {

SyncError MirrorErrors::make(Code code, const QString &description, const QString &server)
{
    return SyncError { QString::fromLatin1(Domain), code, description, server };
}

QString syncEventKind(int type)
{
    switch (type) {
    case SyncEvent::Setup:
        return QStringLiteral("setup");
    case SyncEvent::Import:
        return QStringLiteral("import");
    case SyncEvent::Export:
        return QStringLiteral("export");
    default:
        return QStringLiteral("other");
    }
}

} // namespace quillery
