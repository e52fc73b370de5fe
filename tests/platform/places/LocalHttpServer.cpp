#include "LocalHttpServer.h"

#include <QtGlobal>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace quillery::test {

LocalHttpServer::LocalHttpServer(Handler handler, const QHostAddress &address)
    : m_handler(std::move(handler))
{
    m_listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in bound {};
    bound.sin_family = AF_INET;
    bound.sin_addr.s_addr = htonl(address.toIPv4Address());
    socklen_t length = sizeof bound;
    if (::bind(m_listener, reinterpret_cast<sockaddr *>(&bound), length) != 0 || ::listen(m_listener, 8) != 0)
        qFatal("the test server cannot listen on %s", qPrintable(address.toString()));
    ::getsockname(m_listener, reinterpret_cast<sockaddr *>(&bound), &length);
    m_origin = QStringLiteral("http://%1:%2").arg(address.toString()).arg(ntohs(bound.sin_port));
    m_thread = std::thread([this] {
        while (!m_stop) {
            pollfd waiting { m_listener, POLLIN, 0 };
            const int socket = ::poll(&waiting, 1, 20) > 0 ? ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC) : -1;
            if (socket < 0)
                continue;
            // Sends give up now and then to look at m_stop.
            const timeval patience { 0, 100'000 };
            ::setsockopt(socket, SOL_SOCKET, SO_SNDTIMEO, &patience, sizeof patience);
            m_connections.emplace_back([this, socket] {
                serve(socket);
                ::close(socket);
            });
        }
        for (std::thread &thread : m_connections)
            thread.join();
    });
}

LocalHttpServer::~LocalHttpServer()
{
    close();
}

void LocalHttpServer::close()
{
    if (!m_thread.joinable())
        return;
    m_stop = true;
    m_thread.join();
    ::close(m_listener);
}

QList<LocalHttpServer::Request> LocalHttpServer::requests() const
{
    const std::lock_guard lock(m_mutex);
    return m_requests;
}

std::optional<LocalHttpServer::Request> LocalHttpServer::read(int socket)
{
    QByteArray buffer;
    char bytes[4096];
    while (!buffer.contains("\r\n\r\n")) {
        pollfd readable { socket, POLLIN, 0 };
        if (m_stop || buffer.size() > 1024 * 1024)
            return std::nullopt;
        if (::poll(&readable, 1, 20) <= 0)
            continue;
        const ssize_t got = ::recv(socket, bytes, sizeof bytes, 0);
        if (got <= 0)
            return std::nullopt;
        buffer.append(bytes, got);
    }
    const QList<QByteArray> lines = buffer.left(buffer.indexOf("\r\n\r\n")).split('\n');
    Request request;
    request.target = lines.value(0).trimmed().split(' ').value(1);
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const qsizetype colon = lines[i].indexOf(':');
        if (colon > 0)
            request.headers.insert(lines[i].left(colon).trimmed().toLower(), lines[i].mid(colon + 1).trimmed());
    }
    return request;
}

void LocalHttpServer::serve(int socket)
{
    const std::optional<Request> request = read(socket);
    if (!request)
        return;
    Response response;
    {
        const std::lock_guard lock(m_mutex);
        m_requests.append(*request);
        response = m_handler(*request);
    }
    if (response.hang) {
        while (pause(20)) { }
        return;
    }
    if (!pause(response.delayMs))
        return;
    // Clients read the status code; the reason phrase after it is free text.
    QByteArray head = "HTTP/1.1 " + QByteArray::number(response.status) + " Status\r\n";
    if (!response.contentType.isEmpty())
        head += "Content-Type: " + response.contentType + "\r\n";
    head += response.endless ? QByteArray("Transfer-Encoding: chunked\r\n")
                             : "Content-Length: " + QByteArray::number(response.body.size()) + "\r\n";
    head += "Connection: close\r\n";
    for (const auto &[name, value] : response.headers)
        head += name + ": " + value + "\r\n";
    head += "\r\n";
    if (response.endless) {
        const QByteArray chunk = "10000\r\n" + QByteArray(0x10000, ' ') + "\r\n";
        if (send(socket, head))
            while (send(socket, chunk)) { }
    } else if (response.trickleMs <= 0) {
        send(socket, head + response.body);
    } else if (send(socket, head)) {
        for (qsizetype i = 0; i < response.body.size(); ++i) {
            if (!pause(response.trickleMs) || !send(socket, response.body.mid(i, 1)))
                return;
        }
    }
}

bool LocalHttpServer::send(int socket, const QByteArray &bytes)
{
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t sent = ::send(socket, bytes.constData() + done, size_t(bytes.size() - done), MSG_NOSIGNAL);
        if (m_stop || (sent < 0 && errno != EAGAIN && errno != EINTR) || sent == 0)
            return false;
        done += std::max<ssize_t>(sent, 0);
    }
    return true;
}

bool LocalHttpServer::pause(int msecs)
{
    for (int slept = 0; slept < msecs && !m_stop; slept += 10)
        std::this_thread::sleep_for(std::chrono::milliseconds(std::min(10, msecs - slept)));
    return !m_stop;
}

} // namespace quillery::test
