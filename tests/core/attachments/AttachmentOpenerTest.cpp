// Opening a file attachment: the bytes land in a private temporary folder
// under a safe name, whatever name the record carries.
#include "core/attachments/AttachmentOpener.h"
#include "core/attachments/FileLauncher.h"
#include "core/attachments/SafeFileName.h"
#include "core/model/Attachment.h"
#include "core/model/TypeRegistry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

using namespace quillery;

namespace {

class RecordingLauncher final : public FileLauncher
{
public:
    bool openFile(const QString &path) override
    {
        opened.append(path);
        return true;
    }
    QStringList opened;
};

class AttachmentOpenerTest : public ::testing::Test
{
protected:
    AttachmentOpenerTest()
    {
        EXPECT_TRUE(QDir().mkpath(root()));
        opener.emplace(launcher, types, root());
    }

    QString root() const { return scratch.filePath(QStringLiteral("tmp")); }

    std::optional<QString> open(const QString &name, const QByteArray &bytes = QByteArray("content"),
        const QString &type = QStringLiteral("public.plain-text"))
    {
        Attachment attachment(name, type, bytes);
        return opener->open(attachment);
    }

    static QByteArray contents(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
    }

    QTemporaryDir scratch;
    RecordingLauncher launcher;
    const TypeRegistry types;
    std::optional<AttachmentOpener> opener;
};

TEST_F(AttachmentOpenerTest, AFileOpensUnderItsOwnNameInAPrivateFolderThatNoSecondOpeningShares)
{
    const std::optional<QString> path = open(QStringLiteral("notes.txt"), QByteArray("buy milk"));
    ASSERT_TRUE(path);
    EXPECT_EQ(launcher.opened, QStringList({ *path }));
    const QFileInfo file(*path);
    EXPECT_EQ(file.fileName(), QStringLiteral("notes.txt"));
    EXPECT_EQ(contents(*path), QByteArray("buy milk"));
    const QFileInfo folder(file.absolutePath());
    EXPECT_EQ(folder.absolutePath(), QFileInfo(root()).absoluteFilePath());
    EXPECT_EQ(folder.permissions() & 0x0077, QFileDevice::Permissions()); // nobody else
    EXPECT_TRUE(folder.permissions() & QFileDevice::ExeOwner);
    EXPECT_EQ(file.permissions() & 0x0077, QFileDevice::Permissions());

    // The same name again never replaces the first file.
    const std::optional<QString> second = open(QStringLiteral("notes.txt"), QByteArray("two"));
    ASSERT_TRUE(second);
    EXPECT_NE(*second, *path);
    EXPECT_EQ(contents(*path), QByteArray("buy milk"));
    EXPECT_EQ(contents(*second), QByteArray("two"));

    // Both stay readable while the opener lives; its folders go with it.
    opener.reset();
    EXPECT_FALSE(QFileInfo::exists(file.absolutePath()));
    EXPECT_FALSE(QFileInfo::exists(QFileInfo(*second).absolutePath()));
    EXPECT_TRUE(QFileInfo::exists(root()));
}

TEST_F(AttachmentOpenerTest, HostileNamesStayInsideTheirFolder)
{
    // Files a careless open could overwrite.
    const QString outside = scratch.filePath(QStringLiteral("escape.txt"));
    const QString beside = QDir(root()).filePath(QStringLiteral("escape.txt"));
    for (const QString &victim : { outside, beside }) {
        QFile file(victim);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("keep");
    }

    const QString hostile[] = {
        QStringLiteral("../escape.txt"),
        QStringLiteral("../../escape.txt"),
        QStringLiteral("/etc/passwd"),
        QStringLiteral("sub/../../escape.txt"),
        QStringLiteral(".."),
        QStringLiteral("."),
        QStringLiteral(".bashrc"),
        QStringLiteral(" ../escape.txt"),
        QStringLiteral("..\\..\\escape.txt"),
        QStringLiteral("line\nbreak\r.txt"),
        QString::fromUtf8("nul\0byte.txt", 12),
        QStringLiteral("\u202Etxt.exe"),
        QString(300, u'x') + QStringLiteral(".pdf"),
        QString(200, u'\u00e9') + QStringLiteral(".txt"),
        QString(200, QChar(0xD800)) + QStringLiteral(".txt"), // lone surrogates: three bytes each on disk
        QString(),
    };
    const QString rootPath = QFileInfo(root()).canonicalFilePath();
    for (const QString &name : hostile) {
        const std::optional<QString> path = open(name, QByteArray("payload"));
        ASSERT_TRUE(path) << name.toStdString();
        const QFileInfo file(*path);
        ASSERT_TRUE(file.exists()) << name.toStdString();
        // Exactly one level below the temporary root: its private folder.
        EXPECT_EQ(QFileInfo(file.canonicalPath()).canonicalPath(), rootPath) << name.toStdString();
        EXPECT_FALSE(file.fileName().startsWith(u'.')) << name.toStdString();
        EXPECT_LE(QFile::encodeName(file.fileName()).size(), 255) << name.toStdString();
        for (const QChar c : file.fileName())
            EXPECT_FALSE(c.category() == QChar::Other_Control || c.category() == QChar::Other_Format)
                << name.toStdString();
        EXPECT_EQ(contents(*path), QByteArray("payload"));
    }
    EXPECT_EQ(contents(outside), QByteArray("keep"));
    EXPECT_EQ(contents(beside), QByteArray("keep"));
}

TEST_F(AttachmentOpenerTest, SafeNamesKeepWhatIsHarmless)
{
    EXPECT_EQ(
        safeFileName(QStringLiteral("Photo Jan 5, 3:05\u202FPM.jpg")), QStringLiteral("Photo Jan 5, 3:05\u202FPM.jpg"));
    EXPECT_EQ(safeFileName(QStringLiteral("..")), QStringLiteral("Attachment"));
    EXPECT_EQ(safeFileName(QString(), QStringLiteral("Attachment.pdf")), QStringLiteral("Attachment.pdf"));
    const QString longName = safeFileName(QString(300, u'x') + QStringLiteral(".pdf"));
    EXPECT_TRUE(longName.endsWith(QStringLiteral(".pdf")));
    EXPECT_EQ(longName.toUtf8().size(), 255);
    // A cut never splits a character made of two UTF-16 units.
    const QString emoji = safeFileName(QString(200, u'a') + QString::fromUtf8("\xF0\x9F\x93\x84").repeated(30));
    EXPECT_LE(emoji.toUtf8().size(), 255);
    EXPECT_FALSE(emoji.back().isHighSurrogate());
}

TEST_F(AttachmentOpenerTest, NothingIsLaunchedWithoutBytesAFolderOrAWholeFile)
{
    Attachment empty(QStringLiteral("notes.txt"), QStringLiteral("public.plain-text"));
    EXPECT_FALSE(opener->open(empty));

    // The temporary root is a file, so no folder can be made inside it.
    const QString blocked = scratch.filePath(QStringLiteral("not-a-folder"));
    QFile file(blocked);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    Attachment attachment(QStringLiteral("notes.txt"), QStringLiteral("public.plain-text"), QByteArray("x"));
    EXPECT_FALSE(AttachmentOpener(launcher, types, blocked).open(attachment));

    // A file the disk refuses part of is never handed over half-written.
    struct rlimit limit;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &limit), 0);
    const auto oldHandler = signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = limit;
    small.rlim_cur = 16;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const std::optional<QString> partial = open(QStringLiteral("big.txt"), QByteArray(64 * 1024, 'x'));
    setrlimit(RLIMIT_FSIZE, &limit);
    signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(partial);
    EXPECT_TRUE(QDir(root()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
    EXPECT_TRUE(launcher.opened.isEmpty());
}

} // namespace
