#pragma once

#include <QString>
#include <QStringList>

namespace quillery::PgService {

// The connection service files libpq reads, in its order: the user's
// (PGSERVICEFILE, else ~/.pg_service.conf), then the system's
// (PGSYSCONFDIR/pg_service.conf, else Debian's /etc/postgresql-common).
QStringList serviceFiles();

// True when a section named `[name]` is defined in one of those files. Only
// the section names are read; credentials stay libpq's business.
bool isDefined(const QString &name);

} // namespace quillery::PgService
