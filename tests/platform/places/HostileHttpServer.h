#pragma once

// An HTTP server on the loopback interface, on a thread of its own, for
// answers no sane server gives: endless bodies sent as fast as the socket
// takes them, and headers of many megabytes. Each connection gets the next
// answer of a script, and a short sane answer once the script has run out.
// Being on threads of its own it keeps sending while the test's thread is
// busy, as a real server would.

#include <QByteArray>
#include <QList>
#include <QUrl>

#include <atomic>
#include <thread>
#include <vector>

namespace quillery::test {

class HostileHttpServer final
{
public:
    enum class Answer {
        Sane, // the sane body, whole
        EndlessBody, // chunked, without end
        HugeHeaderLine, // one header line of 64 MB
        ManyHeaderLines, // 200,000 header lines
    };

    HostileHttpServer(QList<Answer> script, QByteArray saneBody, QByteArray contentType = "application/json");
    ~HostileHttpServer();

    QUrl url(const QString &path) const;
    // "http://127.0.0.1:<port>", to build address patterns on.
    QString origin() const;
    int connections() const { return m_connections; }

private:
    void serve();
    void answer(int socket, Answer answer);
    bool send(int socket, const char *data, qsizetype size);

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
