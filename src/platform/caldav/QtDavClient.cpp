#include "QtDavClient.h"

#include <QNetworkProxyFactory>
#include <QNetworkReply>
#include <QNetworkRequest>

namespace quillery {

QtDavClient::QtDavClient(const QString &user, const QString &password, QObject *parent)
    : DavClient(parent)
    , m_authorization("Basic " + (user + u':' + password).toUtf8().toBase64())
{
    QNetworkProxyFactory::setUseSystemConfiguration(true);
    m_network.setRedirectPolicy(QNetworkRequest::NoLessSafeRedirectPolicy);
}

QtDavClient::~QtDavClient()
{
    const auto pending = std::exchange(m_pending, {});
    for (auto it = pending.cbegin(); it != pending.cend(); ++it) {
        it.key()->disconnect(this);
        it.key()->abort();
        it.key()->deleteLater();
        it.value()(DavReply { 0, QStringLiteral("cancelled"), {}, {}, it.key()->url() });
    }
}

void QtDavClient::send(const DavRequest &request, std::function<void(const DavReply &)> done)
{
    QNetworkRequest http(request.url);
    http.setRawHeader("Authorization", m_authorization);
    http.setTransferTimeout(m_timeoutMs);
    if (!request.contentType.isEmpty())
        http.setHeader(QNetworkRequest::ContentTypeHeader, request.contentType);
    for (const auto &[name, value] : request.headers)
        http.setRawHeader(name, value);
    QNetworkReply *reply = m_network.sendCustomRequest(http, request.method, request.body);
    m_pending.emplace(reply, std::move(done));
    connect(reply, &QNetworkReply::finished, this, [this, reply] {
        reply->deleteLater();
        const auto callback = m_pending.take(reply);
        if (!callback)
            return;
        DavReply answer;
        answer.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        answer.url = reply->url();
        answer.body = reply->readAll();
        answer.etag = QString::fromUtf8(reply->rawHeader("ETag"));
        if (answer.status == 0 || reply->error() != QNetworkReply::NoError) {
            // The server's own reason where it gave one, never the request.
            answer.error = answer.status ? reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString()
                                         : reply->errorString();
        }
        callback(answer);
    });
}

} // namespace quillery
