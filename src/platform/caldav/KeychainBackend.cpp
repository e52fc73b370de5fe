#include "KeychainBackend.h"

#include "QtDavClient.h"

#include <qt6keychain/keychain.h>

namespace quillery {

std::unique_ptr<DavClient> KeychainBackend::client(const QString &user, const QString &password)
{
    return std::make_unique<QtDavClient>(user, password);
}

void KeychainBackend::readPassword(const QString &account, PasswordRead done)
{
    auto *job = new QKeychain::ReadPasswordJob(m_service);
    job->setAutoDelete(true);
    job->setInsecureFallback(false);
    job->setKey(account);
    QObject::connect(job, &QKeychain::Job::finished, job, [done = std::move(done)](QKeychain::Job *finished) {
        auto *read = static_cast<QKeychain::ReadPasswordJob *>(finished);
        if (read->error() != QKeychain::NoError)
            done(QString(), read->errorString());
        else
            done(read->textData(), QString());
    });
    job->start();
}

void KeychainBackend::writePassword(const QString &account, const QString &password, PasswordWritten done)
{
    auto *job = new QKeychain::WritePasswordJob(m_service);
    job->setAutoDelete(true);
    job->setInsecureFallback(false);
    job->setKey(account);
    job->setTextData(password);
    QObject::connect(job, &QKeychain::Job::finished, job, [done = std::move(done)](QKeychain::Job *finished) {
        done(finished->error() != QKeychain::NoError ? finished->errorString() : QString());
    });
    job->start();
}

std::unique_ptr<CalDavBackend> makeCalDavBackend()
{
    return std::make_unique<KeychainBackend>();
}

} // namespace quillery
