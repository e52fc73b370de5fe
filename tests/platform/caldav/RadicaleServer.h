#pragma once

#include <QString>
#include <QTemporaryDir>
#include <QUrl>

namespace quillery::test {

// The throwaway Radicale server of these tests (started by CTest, or by the
// test program itself when run by hand) with one user, whose password is
// made fresh for each server.
class RadicaleServer
{
public:
    static RadicaleServer &instance();
    ~RadicaleServer();

    QUrl url() const;
    QString user() const { return m_user; }
    QString password() const { return m_password; }
    // The folder holding the server's data and log.
    QString folder() const { return m_folder; }

    // Stops the server at once, as a crash would, and starts it again.
    void halt() const;
    void resume() const;

private:
    RadicaleServer();
    void runScript(const char *command) const;

    QTemporaryDir m_files;
    QString m_state;
    bool m_own = false;
    int m_port = 0;
    QString m_user;
    QString m_password;
    QString m_folder;
};

} // namespace quillery::test
