#pragma once

#include "platform/cloud/MirrorBackend.h"

#include <QObject>

namespace quillery {

// The quillery-pg module's entry point: hands out the libpq-backed mirror
// and account check behind the program's interfaces.
class PgModule final : public QObject, public MirrorBackend
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "app.quillery.MirrorBackend/1")
    Q_INTERFACES(quillery::MirrorBackend)
public:
    bool isUsable(const QString &service, QString *why = nullptr) override;
    std::unique_ptr<MirrorRemote> makeRemote(const QString &service) override;
    std::unique_ptr<AccountProbe> makeAccountProbe(const QString &service) override;
};

} // namespace quillery
