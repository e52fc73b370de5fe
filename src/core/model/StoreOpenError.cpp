#include "StoreOpenError.h"

#include <QCoreApplication>

namespace quillery {

QString StoreOpenError::message() const
{
    QString why;
    switch (reason) {
    case Reason::None:
        return {};
    case Reason::IsDirectory:
        why = QCoreApplication::translate("Store", "a folder stands where the file should be");
        break;
    case Reason::PermissionDenied:
        why = QCoreApplication::translate("Store", "Quillery is not allowed to read and write it");
        break;
    case Reason::NotADatabase:
        why = QCoreApplication::translate("Store", "it is not a Quillery book");
        break;
    case Reason::NotABook:
        why = QCoreApplication::translate("Store", "it is a database of another program");
        break;
    case Reason::Corrupt:
        why = QCoreApplication::translate("Store", "it is damaged");
        break;
    case Reason::NewerSchema:
        why = QCoreApplication::translate("Store", "it was written by a newer version of Quillery");
        break;
    case Reason::Failed:
        why = QCoreApplication::translate("Store", "the database could not be opened");
        break;
    }
    // The engine's words, or the check's, where they say more than the
    // reason itself (which file was read-only, which version it was); never
    // a repetition of the reason.
    const bool saysMore
        = reason == Reason::PermissionDenied || reason == Reason::NewerSchema || reason == Reason::Failed;
    QString more = detail.simplified();
    while (more.endsWith(u'.'))
        more.chop(1);
    if (saysMore && !more.isEmpty())
        why += QStringLiteral(" (%1)").arg(more);
    return QCoreApplication::translate(
        "Store", "Quillery cannot open its book %1 because %2; the file has been left unchanged.")
        .arg(path, why);
}

} // namespace quillery
