#include "RadicaleServer.h"

#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

namespace quillery::test {

RadicaleServer &RadicaleServer::instance()
{
    static RadicaleServer server;
    return server;
}

RadicaleServer::RadicaleServer()
{
    m_state = qEnvironmentVariable("QUILLERY_RADICALE_STATE");
    if (m_state.isEmpty()) {
        m_state = m_files.filePath(QStringLiteral("radicale.state"));
        m_own = true;
        runScript("start");
    }
    QFile file(m_state);
    if (file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        while (!file.atEnd()) {
            const QString line = QString::fromUtf8(file.readLine()).trimmed();
            const QString key = line.section(u'=', 0, 0);
            const QString value = line.section(u'=', 1);
            if (key == u"RAD_PORT")
                m_port = value.toInt();
            else if (key == u"RAD_USER")
                m_user = value;
            else if (key == u"RAD_PASSWORD")
                m_password = value;
            else if (key == u"RAD_DIR")
                m_folder = value;
        }
    }
    if (m_port == 0)
        ADD_FAILURE() << "no server state in " << m_state.toStdString();
}

RadicaleServer::~RadicaleServer()
{
    if (m_own)
        runScript("stop");
}

QUrl RadicaleServer::url() const
{
    return QUrl(QStringLiteral("http://127.0.0.1:%1/").arg(m_port));
}

void RadicaleServer::halt() const
{
    runScript("halt");
}

void RadicaleServer::resume() const
{
    runScript("resume");
}

void RadicaleServer::runScript(const char *command) const
{
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(QStringLiteral(QUILLERY_RADICALE_SCRIPT), { QString::fromLatin1(command), m_state });
    if (!process.waitForFinished(60'000) || process.exitCode() != 0)
        ADD_FAILURE() << "radicale.sh " << command << " failed";
}

} // namespace quillery::test
