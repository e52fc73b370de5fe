#include "HostileHttpServer.h"

#include <QtGlobal>

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
    if (::bind(m_listener, reinterpret_cast<sockaddr *>(&address), length) != 0 || ::listen(m_listener, 8) != 0)
        qFatal("the hostile server cannot listen on loopback");
    ::getsockname(m_listener, reinterpret_cast<sockaddr *>(&address), &length);
    m_port = ntohs(address.sin_port);
    m_thread = std::thread([this] {
        while (!m_stop) {
            pollfd waiting { m_listener, POLLIN, 0 };
            const int socket = ::poll(&waiting, 1, 50) > 0 ? ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC) : -1;
            if (socket < 0)
                continue;
            // Sends give up now and then to look at m_stop.
            const timeval patience { 0, 100'000 };
            ::setsockopt(socket, SOL_SOCKET, SO_SNDTIMEO, &patience, sizeof patience);
            const Answer next = m_script.value(m_connections++, Answer::Sane);
            m_answering.emplace_back([this, socket, next] {
                answer(socket, next);
                ::close(socket);
            });
        }
        for (std::thread &thread : m_answering)
            thread.join();
    });
}

HostileHttpServer::~HostileHttpServer()
{
    m_stop = true;
    m_thread.join();
    ::close(m_listener);
}

void HostileHttpServer::answer(int socket, Answer answer)
{
    QByteArray request(4096, '\0');
    qsizetype got = 0;
    while (!request.left(got).contains("\r\n\r\n") && !m_stop && got < request.size()) {
        pollfd readable { socket, POLLIN, 0 };
        const ssize_t read
            = ::poll(&readable, 1, 50) > 0 ? ::recv(socket, request.data() + got, size_t(request.size() - got), 0) : 0;
        if (read < 0 || (read == 0 && readable.revents))
            return;
        got += read;
    }
    const QByteArray head = "HTTP/1.1 200 OK\r\nContent-Type: " + m_contentType + "\r\n";
    switch (answer) {
    case Answer::Sane:
        send(socket,
            head + "Content-Length: " + QByteArray::number(m_saneBody.size()) + "\r\nConnection: close\r\n\r\n"
                + m_saneBody);
        return;
    case Answer::EndlessBody: {
        const QByteArray chunk = "10000\r\n" + QByteArray(0x10000, ' ') + "\r\n";
        if (send(socket, head + "Transfer-Encoding: chunked\r\n\r\n"))
            while (send(socket, chunk)) { }
        return;
    }
    case Answer::HugeHeaderLine:
        send(socket, head + "X-Pad: " + QByteArray(64 * 1024 * 1024, 'a') + "\r\n\r\n{}");
        return;
    case Answer::ManyHeaderLines: {
        QByteArray lines = head;
        for (int i = 0; i < 200'000; ++i)
            lines += "X-Line-" + QByteArray::number(i) + ": x\r\n";
        send(socket, lines + "\r\n{}");
        return;
    }
    }
}

bool HostileHttpServer::send(int socket, const QByteArray &bytes)
{
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t sent = ::send(socket, bytes.constData() + done, size_t(bytes.size() - done), MSG_NOSIGNAL);
        if (m_stop || (sent < 0 && errno != EAGAIN && errno != EINTR) || sent == 0)
            return false;
        done += std::max<ssize_t>(sent, 0);
    }
    return true;
}

} // namespace quillery::test
