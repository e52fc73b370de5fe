#include "PgModule.h"

#include "platform/cloud/PgAccountProbe.h"
#include "platform/cloud/PgConnection.h"
#include "platform/cloud/PgMirrorRemote.h"

namespace quillery {

bool PgModule::isUsable(const QString &service, QString *why)
{
    return PgConnection::isUsable(service, why);
}

std::unique_ptr<MirrorRemote> PgModule::makeRemote(const QString &service)
{
    return std::make_unique<PgMirrorRemote>(service);
}

std::unique_ptr<AccountProbe> PgModule::makeAccountProbe(const QString &service)
{
    return std::make_unique<PgAccountProbe>(service);
}

} // namespace quillery
