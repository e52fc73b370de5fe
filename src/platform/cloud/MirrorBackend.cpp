#include "MirrorBackend.h"

#include "core/util/LateModule.h"

namespace quillery {

MirrorBackend *MirrorBackend::load(QString *why)
{
    return LateModule::load<MirrorBackend>(QStringLiteral("pg"), why);
}

} // namespace quillery
