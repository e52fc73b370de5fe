#pragma once

#include <QByteArray>
#include <QCryptographicHash>
#include <QFile>
#include <QString>

namespace quillery::test {

// The SHA-256 of a file's bytes, empty when it cannot be read: tests compare
// it before and after to prove a file was left byte for byte as it was.
inline QByteArray fileDigest(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256)
                                          : QByteArray();
}

} // namespace quillery::test
