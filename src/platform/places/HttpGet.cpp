#include "HttpGet.h"

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

HttpGet::HttpGet(QNetworkAccessManager &network, Options options, Done done, QObject *parent)
    : QObject(parent)
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

    m_reply = network.get(request);
    connect(m_reply, &QNetworkReply::metaDataChanged, this, &HttpGet::checkHeaders);
    connect(m_reply, &QIODevice::readyRead, this, &HttpGet::readMore);
    connect(m_reply, &QNetworkReply::finished, this, &HttpGet::finish);

    m_deadline.setSingleShot(true);
    connect(&m_deadline, &QTimer::timeout, this, [this] { fail(QStringLiteral("no complete answer in time")); });
    m_deadline.start(m_options.timeoutMs);
}

HttpGet::~HttpGet()
{
    m_finished = true;
    if (m_reply) {
        m_reply->disconnect(this);
        m_reply->abort();
        m_reply->deleteLater();
    }
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
    m_body += m_reply->read(m_options.maxBytes + 1 - m_body.size());
    if (m_body.size() > m_options.maxBytes || m_reply->bytesAvailable() > 0)
        fail(QStringLiteral("the answer is too large"));
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
    if (m_reply) {
        m_reply->disconnect(this);
        m_reply->abort();
        m_reply->deleteLater();
        m_reply = nullptr;
    }
    Answer answer;
    answer.error = error;
    answer.unreachable = unreachable;
    const Done done = std::move(m_done);
    done(answer);
}

} // namespace quillery
