// The password of a linked task list in a real Secret Service: a private
// bus and gnome-keyring-daemon, unlocked with a test password, in a
// temporary home. The password comes back from the store, and no file
// Quillery or the store writes holds it in clear.
#include "core/caldav/CalDavLinks.h"
#include "core/model/Store.h"
#include "platform/caldav/KeychainBackend.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDirIterator>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace quillery;

namespace {

QStringList g_messages;

template <typename Fn> bool waitFor(Fn &&condition)
{
    return QTest::qWaitFor(std::forward<Fn>(condition), 20'000);
}

// A session bus and a secret store that live as long as the object.
class PrivateSecretService
{
public:
    PrivateSecretService()
    {
        const QString run = m_home.filePath("run");
        QDir().mkpath(run);
        QFile::setPermissions(run, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        m_bus.start("dbus-daemon", { "--session", "--nofork", "--print-address=1" });
        if (!m_bus.waitForReadyRead(10'000))
            return;
        const QByteArray address = m_bus.readLine().trimmed();
        // Set before anything in this process reaches a session bus.
        qputenv("DBUS_SESSION_BUS_ADDRESS", address);
        qputenv("XDG_DATA_HOME", m_home.filePath("data").toLocal8Bit());
        qputenv("XDG_RUNTIME_DIR", run.toLocal8Bit());
        m_keyring.start("gnome-keyring-daemon", { "--foreground", "--unlock", "--components=secrets" });
        m_keyring.waitForStarted();
        m_keyring.write("keyring-test-password");
        m_keyring.closeWriteChannel();
        QDBusConnection probe = QDBusConnection::connectToBus(QString::fromLatin1(address), "probe");
        m_ready = waitFor([&] {
            return probe.isConnected() && probe.interface()->isServiceRegistered("org.freedesktop.secrets").value();
        });
        QDBusConnection::disconnectFromBus("probe");
    }
    ~PrivateSecretService()
    {
        for (QProcess *process : { &m_keyring, &m_bus }) {
            process->terminate();
            if (!process->waitForFinished(5'000))
                process->kill();
        }
    }
    bool ready() const { return m_ready; }
    QString home() const { return m_home.path(); }

private:
    QTemporaryDir m_home;
    QProcess m_bus;
    QProcess m_keyring;
    bool m_ready = false;
};

} // namespace

TEST(SecretStore, KeepsTheTaskListPasswordAndNoFileHoldsItInClear)
{
    PrivateSecretService service;
    ASSERT_TRUE(service.ready()) << "no Secret Service on the private bus";
    const QString password = QStringLiteral("pw-%1").arg(QUuid::createUuid().toString(QUuid::Id128));
    // Everything the program logs while it links and syncs.
    const QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType, const QMessageLogContext &, const QString &text) { g_messages << text; });

    StoreOpenError openError;
    const QString bookPath = service.home() + "/book.sqlite";
    std::unique_ptr<Store> store = Store::open(bookPath, &openError);
    ASSERT_TRUE(store);
    auto *page = new Page(1.0, 0);
    store->insert(page);
    // Linking keeps the password; no server answers at this address, so the
    // first round only fails (and is logged as failing).
    CalDavLinks links(*store, [] { return makeCalDavBackend(); });
    std::optional<QString> linked;
    links.link(page, "http://127.0.0.1:9/", "alice", password, QUrl("http://127.0.0.1:9/alice/tasks/"), "Tasks",
        [&](const QString &error) { linked = error; });
    ASSERT_TRUE(waitFor([&] { return linked.has_value(); }));
    EXPECT_TRUE(linked->isEmpty()) << linked->toStdString();

    // Read back through a backend of its own, as the next start does.
    std::optional<QString> read;
    makeCalDavBackend()->readPassword(
        "alice@127.0.0.1", [&](const QString &found, const QString &error) { read = error.isEmpty() ? found : error; });
    ASSERT_TRUE(waitFor([&] { return read.has_value(); }));
    EXPECT_EQ(*read, password);
    store->save();

    qInstallMessageHandler(previous);
    const QList<QByteArray> forms
        = { password.toUtf8(), password.toUtf8().toBase64(), ("alice:" + password).toUtf8().toBase64() };
    const auto holds = [&](const QByteArray &bytes) {
        return std::any_of(forms.begin(), forms.end(), [&](const QByteArray &form) { return bytes.contains(form); });
    };
    EXPECT_FALSE(holds(g_messages.join('\n').toUtf8()));

    QStringList holding;
    QDirIterator files(service.home(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    int seen = 0;
    while (files.hasNext()) {
        QFile file(files.next());
        if (file.open(QIODevice::ReadOnly)) {
            ++seen;
            const QByteArray bytes = file.readAll();
            if (holds(bytes))
                holding << file.fileName();
        }
    }
    EXPECT_GE(seen, 3); // the book, the link file, the keyring
    EXPECT_TRUE(QFile::exists(links.filePath()));
    EXPECT_TRUE(holding.isEmpty()) << holding.join(", ").toStdString();
}
