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
// deletion is kept as a row, a tombstone) and its change number. Each owner
// has a row of their own in "account" holding their last change number and
// the secret name of their notification channel; row-level security keeps
// each role to its own rows, so several users can share the tables without
// seeing, stalling or hearing each other.
namespace PgMirrorSchema {

// The schema's name, quoted for SQL.
QByteArray quotedName();

// The statements that create whatever is missing in the schema the
// search_path names, and bring a mirror made by an earlier version up to
// date; safe to run again. The README gives them to administrators who set
// the mirror up for several users.
QByteArray tablesScript();
// The schema itself, then tablesScript(): what a user who owns their
// database runs. Run it in one transaction.
QByteArray setupScript();

// Points the connection at the schema (whether or not it exists yet).
bool use(PgConnection &connection, PgFailure *failure);

// Creates or upgrades what needs it (the first use of a server), then
// returns the mirror's identity. Roles that may not create anything can use
// a mirror an administrator set up; when it needs setting up, they get a
// failure of kind Outdated.
std::optional<QUuid> ensure(PgConnection &connection, PgFailure *failure);

// Makes the role's own row in "account" where it has none yet (its change
// numbers continue after the highest it already has), and returns the name of
// the role's notification channel.
std::optional<QByteArray> enroll(PgConnection &connection, PgFailure *failure);

} // namespace PgMirrorSchema
} // namespace quillery
