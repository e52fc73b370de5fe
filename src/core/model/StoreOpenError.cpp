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
        why = QCoreApplication::translate("Store", "a folder is in the place of the file");
        break;
    case Reason::PermissionDenied:
        why = QCoreApplication::translate("Store", "permission to read and write it was denied");
        break;
    case Reason::NotADatabase:
        why = QCoreApplication::translate("Store", "the file is not a Quillery book (not a database)");
        break;
    case Reason::NotABook:
        why = QCoreApplication::translate("Store", "the database was not written by Quillery");
        break;
    case Reason::Corrupt:
        why = QCoreApplication::translate("Store", "the file is damaged");
        break;
    case Reason::NewerSchema:
        why = QCoreApplication::translate("Store", "it was written by a newer version of Quillery");
        break;
    case Reason::Failed:
        why = QCoreApplication::translate("Store", "the database could not be opened");
        break;
    }
    QString text = QCoreApplication::translate("Store", "Quillery cannot open its book %1: %2.").arg(path, why);
    if (!detail.isEmpty())
        text += QLatin1Char(' ') + QCoreApplication::translate("Store", "(%1)").arg(detail);
    text += QLatin1Char(' ') + QCoreApplication::translate("Store", "The file has been left unchanged.");
    return text;
}

} // namespace quillery
