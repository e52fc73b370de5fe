#pragma once

// Lets GoogleTest print Qt values readably in failure messages. Included into
// every test file by the build.
#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QUuid>

#include <optional>
#include <ostream>

inline void PrintTo(const QString &value, std::ostream *os)
{
    *os << '"' << value.toStdString() << '"';
}

inline void PrintTo(const QByteArray &value, std::ostream *os)
{
    if (value.size() > 64)
        *os << "QByteArray(" << value.size() << " bytes)";
    else
        *os << "QByteArray(\"" << value.toStdString() << "\")";
}

inline void PrintTo(const QDateTime &value, std::ostream *os)
{
    *os << value.toString(Qt::ISODateWithMs).toStdString();
}

inline void PrintTo(const QUuid &value, std::ostream *os)
{
    *os << value.toString(QUuid::WithoutBraces).toStdString();
}
