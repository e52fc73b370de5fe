#include "HttpGet.h"

#include "NetworkAccess.h"
#include "core/places/PlaceEndpoints.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>

namespace quillery {

namespace {

QByteArray mediaType(const QByteArray &contentType)
{
    const qsizetype semicolon = contentType.indexOf(';');
    return (semicolon < 0 ? contentType : contentType.left(semicolon)).trimmed().toLower();
}

} // namespace

bool HttpGet::isJson(const QByteArray &contentType)
{
    const QByteArray type = mediaType(contentType);
    return type == "application/json" || type == "application/geo+json" || type == "application/vnd.geo+json";
}

bool HttpGet::isImage(const QByteArray &contentType)
{
    const QByteArray type = mediaType(contentType);
    return type == "image/png" || type == "image/jpeg" || type == "image/webp";
}

HttpGet::HttpGet(NetworkAccess &network, Options options, Done done, QObject *parent)
    : QObject(parent)
    , m_network(network)
    , m_options(std::move(options))
    , m_done(std::move(done))
{
    QNetworkRequest request(m_options.url);
    request.setHeader(QNetworkRequest::UserAgentHeader, PlaceEndpoints::userAgent());
    if (!m_options.accept.isEmpty())
        request.setRawHeader("Accept", m_options.accept);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::SameOriginRedirectPolicy);
    request.setMaximumRedirectsAllowed(3);
    request.setTransferTimeout(m_options.timeoutMs);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, m_options.cache);

    m_reply = network.manager().get(request);
    // Without a bound Qt reads the whole answer into memory as fast as the
    // server sends it, whether or not anyone takes it.
    m_reply->setReadBufferSize(ReadBufferBytes);
    connect(m_reply, &QNetworkReply::metaDataChanged, this, &HttpGet::checkHeaders);
    connect(m_reply, &QIODevice::readyRead, this, &HttpGet::readMore);
    connect(m_reply, &QNetworkReply::finished, this, &HttpGet::finish);
    connect(&network, &NetworkAccess::dropping, this, [this](QNetworkAccessManager *manager) {
        if (m_reply && m_reply->manager() == manager)
            fail(QStringLiteral("the connection was dropped"), true);
    });

    m_deadline.setSingleShot(true);
    connect(&m_deadline, &QTimer::timeout, this, [this] { abandon(QStringLiteral("no complete answer in time")); });
    m_deadline.start(m_options.timeoutMs);
}

HttpGet::~HttpGet()
{
    m_finished = true;
    release();
}

void HttpGet::release()
{
    if (!m_reply)
        return;
    m_reply->disconnect(this);
    m_reply->abort();
    m_reply->deleteLater();
    m_reply = nullptr;
}

void HttpGet::checkHeaders()
{
    if (m_finished || !m_reply)
        return;
    const QVariant length = m_reply->header(QNetworkRequest::ContentLengthHeader);
    if (length.isValid() && length.toLongLong() > m_options.maxBytes)
        fail(QStringLiteral("the answer is too large"));
}

void HttpGet::readMore()
{
    if (m_finished || !m_reply)
        return;
    while (m_reply->bytesAvailable() > 0) {
        m_body += m_reply->read(m_options.maxBytes + 1 - m_body.size());
        if (m_body.size() > m_options.maxBytes) {
            abandon(QStringLiteral("the answer is too large"));
            return;
        }
    }
}

void HttpGet::finish()
{
    if (m_finished || !m_reply)
        return;
    const QNetworkReply::NetworkError error = m_reply->error();
    if (error != QNetworkReply::NoError) {
        const bool unreachable = error == QNetworkReply::ConnectionRefusedError
            || error == QNetworkReply::HostNotFoundError || error == QNetworkReply::TimeoutError
            || error == QNetworkReply::OperationCanceledError || error == QNetworkReply::TemporaryNetworkFailureError
            || error == QNetworkReply::NetworkSessionFailedError || error == QNetworkReply::UnknownNetworkError
            || error == QNetworkReply::ProxyConnectionRefusedError || error == QNetworkReply::ProxyNotFoundError
            || error == QNetworkReply::ProxyTimeoutError;
        fail(m_reply->errorString(), unreachable);
        return;
    }
    const int status = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (status != 200) {
        fail(QStringLiteral("HTTP status %1").arg(status));
        return;
    }
    const QByteArray type = m_reply->header(QNetworkRequest::ContentTypeHeader).toByteArray();
    if (m_options.acceptsType && !m_options.acceptsType(type)) {
        fail(QStringLiteral("unexpected content type \"%1\"").arg(QString::fromLatin1(type.left(100))));
        return;
    }
    readMore();
    if (m_finished)
        return;
    m_finished = true;
    m_deadline.stop();
    Answer answer;
    answer.body = std::move(m_body);
    answer.fromCache = m_reply->attribute(QNetworkRequest::SourceIsFromCacheAttribute).toBool();
    m_reply->deleteLater();
    m_reply = nullptr;
    // The callback may well destroy this object.
    const Done done = std::move(m_done);
    done(answer);
}

void HttpGet::fail(const QString &error, bool unreachable)
{
    if (m_finished)
        return;
    m_finished = true;
    m_deadline.stop();
    release();
    Answer answer;
    answer.error = error;
    answer.unreachable = unreachable;
    const Done done = std::move(m_done);
    done(answer);
}

void HttpGet::abandon(const QString &error)
{
    if (m_finished)
        return;
    // Let go of the reply first: the manager it belongs to goes next.
    release();
    m_network.dropConnections();
    fail(error);
}

} // namespace quillery
