#include "LocalHttpServer.h"

#include <QPointer>
#include <QTcpSocket>
#include <QTimer>

namespace quillery::test {

LocalHttpServer::LocalHttpServer(Handler handler, const QHostAddress &address)
    : m_handler(std::move(handler))
{
    connect(&m_server, &QTcpServer::newConnection, this, &LocalHttpServer::accept);
    m_server.listen(address);
}

LocalHttpServer::~LocalHttpServer()
{
    close();
}

QString LocalHttpServer::origin() const
{
    return QStringLiteral("http://%1:%2").arg(m_server.serverAddress().toString()).arg(m_server.serverPort());
}

QUrl LocalHttpServer::url(const QString &pathAndQuery) const
{
    return QUrl(origin() + pathAndQuery);
}

void LocalHttpServer::close()
{
    m_server.close();
    const QList<QTcpSocket *> sockets = m_buffers.keys();
    m_buffers.clear();
    for (QTcpSocket *socket : sockets) {
        socket->abort();
        socket->deleteLater();
    }
}

void LocalHttpServer::accept()
{
    while (QTcpSocket *socket = m_server.nextPendingConnection()) {
        m_buffers.insert(socket, {});
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { read(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            m_buffers.remove(socket);
            socket->deleteLater();
        });
    }
}

void LocalHttpServer::read(QTcpSocket *socket)
{
    if (!m_buffers.contains(socket))
        return;
    QByteArray &buffer = m_buffers[socket];
    buffer += socket->readAll();
    const qsizetype end = buffer.indexOf("\r\n\r\n");
    if (end < 0)
        return;
    const QList<QByteArray> lines = buffer.left(end).split('\n');
    buffer.clear();
    Request request;
    const QList<QByteArray> first = lines.value(0).trimmed().split(' ');
    request.method = first.value(0);
    request.target = first.value(1);
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const qsizetype colon = lines[i].indexOf(':');
        if (colon > 0)
            request.headers.insert(lines[i].left(colon).trimmed().toLower(), lines[i].mid(colon + 1).trimmed());
    }
    m_requests.append(request);
    Q_EMIT requestReceived();
    const Response response = m_handler(request);
    if (response.hang)
        return;
    if (response.delayMs > 0) {
        QTimer::singleShot(response.delayMs, socket, [this, socket, response] { respond(socket, response); });
        return;
    }
    respond(socket, response);
}

void LocalHttpServer::respond(QTcpSocket *socket, const Response &response)
{
    // Clients read the status code; the reason phrase after it is free text.
    QByteArray head = "HTTP/1.1 " + QByteArray::number(response.status) + " Status\r\n";
    if (!response.contentType.isEmpty())
        head += "Content-Type: " + response.contentType + "\r\n";
    head += "Content-Length: " + QByteArray::number(response.body.size()) + "\r\n";
    head += "Connection: close\r\n";
    for (const auto &[name, value] : response.headers)
        head += name + ": " + value + "\r\n";
    head += "\r\n";
    if (response.trickleMs <= 0) {
        socket->write(head + response.body);
        socket->disconnectFromHost();
        return;
    }
    socket->write(head);
    auto *timer = new QTimer(socket);
    auto sent = std::make_shared<qsizetype>(0);
    connect(timer, &QTimer::timeout, socket, [socket, timer, sent, body = response.body] {
        if (*sent >= body.size()) {
            timer->stop();
            socket->disconnectFromHost();
            return;
        }
        socket->write(body.mid((*sent)++, 1));
    });
    timer->start(response.trickleMs);
}

} // namespace quillery::test
