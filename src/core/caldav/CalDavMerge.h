#pragma once

#include <QtGlobal>

#include <optional>

namespace quillery {

// What to do with one task that may have changed here, on the server, or
// both since the two last agreed.
//
// A version that changed on one side only goes to the other. When both
// changed, the later change wins, as with the mirror: each side's time is
// when its version was last changed (the task's own stamp here, the VTODO's
// LAST-MODIFIED there); equal times mean both hold the same version. A
// deletion on the server carries no time; an edit made here meanwhile is
// kept and sent back rather than lost. A deletion made here loses to a
// server edit made after it.
namespace CalDavMerge {

enum class Action {
    None, // both sides agree
    Push, // send this side's version (PUT)
    Pull, // take the server's version
    DeleteRemote,
    DeleteLocal,
    Adopt, // same version on both sides: only the server's ETag is recorded
};

struct Side {
    bool exists = false;
    bool changed = false; // since the two sides last agreed
    qint64 modified = 0; // ms since the epoch; for a deletion here, when it was made
};

Action decide(const Side &local, const Side &remote);

} // namespace CalDavMerge

} // namespace quillery
