#pragma once

#include <QByteArray>
#include <QUuid>

#include <optional>

namespace quillery {

class PgConnection;
struct PgFailure;

// The mirror's tables on the server, in the schema named by the container
// identifier: one table per record kind with every field, plus who owns the
// row, when and on which device it last changed, whether it is deleted (a
// deletion is kept as a row, a tombstone) and its change number from one
// server-side sequence. Row-level security keeps each role to its own rows,
// so several users can share the tables.
namespace PgMirrorSchema {

// The schema's name, quoted for SQL.
QByteArray quotedName();

// The statements that create whatever is missing; safe to run again. Run
// them in one transaction. The README gives them to administrators who set
// the mirror up for several users.
QByteArray setupScript();

// Points the connection at the schema (whether or not it exists yet).
bool use(PgConnection &connection, PgFailure *failure);

// Creates what is missing (the first use of a server), then returns the
// mirror's identity. Roles that may not create anything can use a mirror an
// administrator set up.
std::optional<QUuid> ensure(PgConnection &connection, PgFailure *failure);

} // namespace PgMirrorSchema
} // namespace quillery
