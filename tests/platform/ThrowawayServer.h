#pragma once

#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace quillery::test {

// A server made for the tests and removed after them by a script that takes
// "start", "halt", "resume" or "stop" and a state file of NAME=value lines.
// CTest starts it before the test program and names the state file in
// `stateVariable`; run by hand, the program starts one of its own, which is
// stopped when the tests end (the object must outlive them: a static).
class ThrowawayServer
{
public:
    ThrowawayServer(QString script, const char *stateVariable)
        : m_script(std::move(script))
        , m_state(qEnvironmentVariable(stateVariable))
    {
        if (!m_state.isEmpty())
            return;
        m_state = m_files.filePath(QStringLiteral("server.state"));
        run("start");
        // Child processes of the tests find the same server.
        qputenv(stateVariable, m_state.toLocal8Bit());
        ::testing::AddGlobalTestEnvironment(new Stop(*this));
    }

    // A value of the state file, which reads as an INI file without sections.
    QString state(const char *name) const
    {
        return QSettings(m_state, QSettings::IniFormat).value(QLatin1String(name)).toString();
    }

    // Stops the server at once, as a crash would, and starts it again.
    void halt() const { run("halt"); }
    void resume() const { run("resume"); }

private:
    // Stops a server of the program's own once the tests are over.
    class Stop final : public ::testing::Environment
    {
    public:
        explicit Stop(const ThrowawayServer &server)
            : m_server(server)
        { }
        void TearDown() override { m_server.run("stop"); }

    private:
        const ThrowawayServer &m_server;
    };

    void run(const char *command) const
    {
        QProcess process;
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(m_script, { QString::fromLatin1(command), m_state });
        if (!process.waitForFinished(120'000) || process.exitStatus() != QProcess::NormalExit
            || process.exitCode() != 0)
            ADD_FAILURE() << m_script.toStdString() << ' ' << command << " failed";
    }

    QTemporaryDir m_files;
    QString m_script;
    QString m_state;
};

} // namespace quillery::test
