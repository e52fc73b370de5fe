#include "HostileHttpServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace quillery::test {

HostileHttpServer::HostileHttpServer(QList<Answer> script, QByteArray saneBody, QByteArray contentType)
    : m_script(std::move(script))
    , m_saneBody(std::move(saneBody))
    , m_contentType(std::move(contentType))
{
    m_listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (::bind(m_listener, reinterpret_cast<sockaddr *>(&address), length) != 0 || ::listen(m_listener, 8) != 0
        || ::getsockname(m_listener, reinterpret_cast<sockaddr *>(&address), &length) != 0)
        return;
    m_port = ntohs(address.sin_port);
    m_thread = std::thread([this] { serve(); });
}

HostileHttpServer::~HostileHttpServer()
{
    m_stop = true;
    if (m_thread.joinable())
        m_thread.join();
    ::close(m_listener);
}

QString HostileHttpServer::origin() const
{
    return QStringLiteral("http://127.0.0.1:%1").arg(m_port);
}

QUrl HostileHttpServer::url(const QString &path) const
{
    return QUrl(origin() + path);
}

void HostileHttpServer::serve()
{
    while (!m_stop) {
        pollfd waiting { m_listener, POLLIN, 0 };
        if (::poll(&waiting, 1, 50) <= 0)
            continue;
        const int socket = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (socket < 0)
            continue;
        // Sends give up now and then to look at m_stop.
        const timeval patience { 0, 100'000 };
        ::setsockopt(socket, SOL_SOCKET, SO_SNDTIMEO, &patience, sizeof patience);
        // Each connection on a thread of its own: a later request is
        // answered while the first is still being swamped.
        const int index = m_connections++;
        const Answer next = m_script.value(index, Answer::Sane);
        m_answering.emplace_back([this, socket, next] {
            answer(socket, next);
            ::close(socket);
        });
    }
    for (std::thread &thread : m_answering)
        thread.join();
}

void HostileHttpServer::answer(int socket, Answer answer)
{
    QByteArray request;
    char buffer[4096];
    while (!request.contains("\r\n\r\n") && !m_stop) {
        pollfd readable { socket, POLLIN, 0 };
        if (::poll(&readable, 1, 50) <= 0)
            continue;
        const ssize_t got = ::recv(socket, buffer, sizeof buffer, 0);
        if (got <= 0)
            return;
        request.append(buffer, got);
    }
    const QByteArray head = "HTTP/1.1 200 OK\r\nContent-Type: " + m_contentType + "\r\n";
    if (answer == Answer::Sane) {
        const QByteArray whole = head + "Content-Length: " + QByteArray::number(m_saneBody.size())
            + "\r\nConnection: close\r\n\r\n" + m_saneBody;
        send(socket, whole.constData(), whole.size());
        return;
    }
    if (!send(socket, head.constData(), head.size()))
        return;
    switch (answer) {
    case Answer::Sane:
        return;
    case Answer::EndlessBody: {
        const QByteArray chunk = "10000\r\n" + QByteArray(0x10000, ' ') + "\r\n";
        const QByteArray start = "Transfer-Encoding: chunked\r\n\r\n";
        if (!send(socket, start.constData(), start.size()))
            return;
        while (send(socket, chunk.constData(), chunk.size())) { }
        return;
    }
    case Answer::HugeHeaderLine: {
        const QByteArray pad(1024 * 1024, 'a');
        if (!send(socket, "X-Pad: ", 7))
            return;
        for (int i = 0; i < 64; ++i) {
            if (!send(socket, pad.constData(), pad.size()))
                return;
        }
        break;
    }
    case Answer::ManyHeaderLines: {
        QByteArray lines;
        for (int i = 0; i < 200'000; ++i)
            lines += "X-Line-" + QByteArray::number(i) + ": x\r\n";
        if (!send(socket, lines.constData(), lines.size()))
            return;
        break;
    }
    }
    send(socket, "\r\n\r\n{}", 6);
}

bool HostileHttpServer::send(int socket, const char *data, qsizetype size)
{
    while (size > 0) {
        if (m_stop)
            return false;
        const ssize_t sent = ::send(socket, data, size_t(size), MSG_NOSIGNAL);
        if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR))
            continue;
        if (sent <= 0)
            return false;
        data += sent;
        size -= sent;
    }
    return true;
}

} // namespace quillery::test
