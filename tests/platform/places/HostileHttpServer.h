#pragma once

// An HTTP server on the loopback interface, on threads of its own, for
// answers no sane server gives: an endless body sent as fast as the socket
// takes it, or headers of many megabytes. Each connection gets the next
// answer of a script, and a short sane answer once the script has run out.
// On its own threads it keeps sending while the test's thread is busy, as a
// real server would.

#include <QByteArray>
#include <QList>
#include <QString>

#include <atomic>
#include <thread>
#include <vector>

namespace quillery::test {

class HostileHttpServer final
{
public:
    enum class Answer { Sane, EndlessBody, HugeHeaderLine, ManyHeaderLines };

    HostileHttpServer(QList<Answer> script, QByteArray saneBody, QByteArray contentType = "application/json");
    ~HostileHttpServer();

    // "http://127.0.0.1:<port>"
    QString origin() const { return QStringLiteral("http://127.0.0.1:%1").arg(m_port); }
    int connections() const { return m_connections; }

private:
    void answer(int socket, Answer answer);
    bool send(int socket, const QByteArray &bytes);

    QList<Answer> m_script;
    QByteArray m_saneBody;
    QByteArray m_contentType;
    int m_listener = -1;
    int m_port = 0;
    std::atomic_int m_connections = 0;
    std::atomic_bool m_stop = false;
    std::thread m_thread;
    std::vector<std::thread> m_answering;
};

} // namespace quillery::test
