// The journal adapter against syslog(3) itself: a child process gets a /dev of
// its own with a log socket the test reads, so the real library call is what
// is checked, and the machine's own journal is never touched.
#include "platform/cloud/SystemJournal.h"

#include <QStringList>
#include <gtest/gtest.h>

#include <cstring>
#include <fcntl.h>
#include <sched.h>
#include <string>
#include <sys/mount.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <syslog.h>
#include <unistd.h>

using namespace quillery;

namespace {

bool writeFile(const char *path, const std::string &text)
{
    const int fd = ::open(path, O_WRONLY);
    if (fd < 0)
        return false;
    const bool ok = ::write(fd, text.data(), text.size()) == ssize_t(text.size());
    ::close(fd);
    return ok;
}

// In the child: a mount namespace (and, without root, a user namespace) in
// which /dev is an empty tmpfs.
bool privateDev()
{
    const uid_t uid = ::getuid();
    const gid_t gid = ::getgid();
    if (::unshare(CLONE_NEWNS) != 0) {
        if (::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0)
            return false;
        writeFile("/proc/self/setgroups", "deny");
        writeFile("/proc/self/uid_map", "0 " + std::to_string(uid) + " 1");
        writeFile("/proc/self/gid_map", "0 " + std::to_string(gid) + " 1");
    }
    return ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0
        && ::mount("tmpfs", "/dev", "tmpfs", 0, nullptr) == 0;
}

[[noreturn]] void childReport(int fd, const std::string &text)
{
    [[maybe_unused]] const ssize_t written = ::write(fd, text.data(), text.size());
    ::_exit(0);
}

} // namespace

TEST(SystemJournal, linesReachSyslogUnderTheBundleIdentifierWithTheirLevelAndCategory)
{
    int pipe[2];
    ASSERT_EQ(::pipe(pipe), 0);
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        ::close(pipe[0]);
        if (!privateDev())
            childReport(pipe[1], "SKIP no private mount namespace here");
        const int log = ::socket(AF_UNIX, SOCK_DGRAM, 0);
        sockaddr_un address {};
        address.sun_family = AF_UNIX;
        std::strcpy(address.sun_path, "/dev/log");
        if (log < 0 || ::bind(log, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0)
            childReport(pipe[1], "SKIP cannot make /dev/log");
        timeval timeout { 5, 0 };
        ::setsockopt(log, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
        ::closelog(); // whatever the parent had opened, this child starts afresh
        ::openlog("someone-else", 0, LOG_DAEMON);

        SystemJournal journal;
        journal.write(SystemLog::Level::Default, QStringLiteral("iCloud sync ON"));
        journal.write(SystemLog::Level::Error, QStringLiteral("sync import FAILED: unknown error ✗"));
        std::string lines;
        for (int i = 0; i < 2; ++i) {
            char buffer[1024];
            const ssize_t n = ::recv(log, buffer, sizeof buffer, 0);
            lines += n > 0 ? std::string(buffer, size_t(n)) : std::string("(nothing)");
            lines += '\n';
        }
        childReport(pipe[1], lines);
    }
    ::close(pipe[1]);
    std::string output;
    char buffer[1024];
    for (ssize_t n; (n = ::read(pipe[0], buffer, sizeof buffer)) > 0;)
        output.append(buffer, size_t(n));
    ::close(pipe[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (output.rfind("SKIP", 0) == 0)
        GTEST_SKIP() << output;

    const QStringList lines = QString::fromStdString(output).split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2) << output;
    const QString ident = QStringLiteral("app.quillery.Quillery[%1]: ").arg(pid);
    // <13> is user.notice, <11> is user.err.
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("<13>"))) << output;
    EXPECT_TRUE(lines[0].endsWith(ident + QStringLiteral("[sync] iCloud sync ON"))) << output;
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("<11>"))) << output;
    EXPECT_TRUE(lines[1].endsWith(ident + QStringLiteral("[sync] sync import FAILED: unknown error ✗"))) << output;
}
