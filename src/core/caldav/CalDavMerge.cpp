#include "CalDavMerge.h"

namespace quillery::CalDavMerge {

Action decide(const Side &local, const Side &remote)
{
    if (!local.changed && !remote.changed)
        return Action::None;
    if (local.changed && !remote.changed) {
        if (local.exists)
            return Action::Push;
        return remote.exists ? Action::DeleteRemote : Action::None;
    }
    if (!local.changed) {
        if (remote.exists)
            return Action::Pull;
        return local.exists ? Action::DeleteLocal : Action::None;
    }

    // Both changed.
    if (!local.exists && !remote.exists)
        return Action::None;
    if (!remote.exists)
        return Action::Push; // an edit here outlives a deletion there
    if (!local.exists)
        return remote.modified > local.modified ? Action::Pull : Action::DeleteRemote;
    if (local.modified == remote.modified)
        return Action::Adopt;
    return local.modified > remote.modified ? Action::Push : Action::Pull;
}

} // namespace quillery::CalDavMerge
