// Picked photos and files becoming attachments of a task: order, names,
// types, re-encoding, and the items that cannot be taken.
#include "gui/attachments/AttachmentImporter.h"
#include "TestImages.h"
#include "core/model/Page.h"
#include "core/model/TaskItem.h"
#include "core/model/TypeRegistry.h"
#include "support/TempStore.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace quillery;
using namespace quillery::test;

namespace {

class AttachmentImporterTest : public ::testing::Test
{
protected:
    AttachmentImporterTest()
    {
        auto *page = new Page(1, 0);
        store->insert(page);
        task = addTask(QStringLiteral("Trip"), 0, page, *store);
    }

    QString write(const QString &name, const QByteArray &bytes)
    {
        QString path = files.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }

    AttachmentImporter *importer()
    {
        return AttachmentImporter::forTask(
            task, store.get(), CalendarContext(clock, "America/New_York", "en_US"), types);
    }

    bool waitUntilDone(AttachmentImporter *running)
    {
        return QTest::qWaitFor([&] { return !running->isBusy(); }, 20000);
    }

    static QStringList names(const QList<Attachment *> &attachments)
    {
        QStringList list;
        for (const Attachment *attachment : attachments)
            list.append(attachment->name());
        return list;
    }

    const TypeRegistry types;
    TempStore store;
    QTemporaryDir files;
    // Tuesday 5 January 2027, 10:00 in New York.
    ManualClock clock { QDateTime(QDate(2027, 1, 5), QTime(15, 0), Qt::UTC) };
    TaskItem *task = nullptr;
};

TEST_F(AttachmentImporterTest, PhotosArriveInPickedOrderAsBoundedJpegsNamedInTheLocalesWords)
{
    const QString wide = write(QStringLiteral("wide.png"), encoded(halves(QSize(4000, 3000)), "png"));
    const QString tall = write(QStringLiteral("tall.jpg"), jpeg(QSize(300, 500)));
    const QString square = write(QStringLiteral("square.jpg"), jpeg(QSize(120, 120)));

    AttachmentImporter *running = importer();
    running->importPhotos({ tall, wide });
    running->importPhotos({ square });
    ASSERT_TRUE(waitUntilDone(running));

    const QList<Attachment *> stored = task->sortedAttachments();
    ASSERT_EQ(stored.size(), 3);
    const QList<QSize> sizes = { QSize(300, 500), QSize(2400, 1800), QSize(120, 120) };
    for (int i = 0; i < 3; ++i) {
        // Photos of the same minute share a name, but all are kept.
        EXPECT_EQ(stored.at(i)->name(), QStringLiteral("Photo Jan 5, 10:00\u202FAM.jpg"));
        EXPECT_EQ(stored.at(i)->typeIdentifier(), TypeRegistry::jpeg());
        ASSERT_TRUE(stored.at(i)->data());
        const Decoded decoded = decodeAsStored(*stored.at(i)->data());
        EXPECT_EQ(decoded.format, "jpeg") << i;
        EXPECT_EQ(decoded.image.size(), sizes.at(i)) << i;
    }
    // ICU separates the day period with a narrow no-break space.
    const QDateTime afternoon(QDate(2027, 1, 5), QTime(20, 5), Qt::UTC);
    EXPECT_EQ(AttachmentImporter::photoName(CalendarContext(clock, "Europe/Berlin", "de_DE"), afternoon),
        QStringLiteral("Photo 5. Jan., 21:05.jpg"));
}

// Photos the codec cannot re-encode are kept as picked; items that cannot be
// read are skipped and reported.
TEST_F(AttachmentImporterTest, FilesKeepTheirNamesAndBytesAndOnlyUnreadableItemsAreSkipped)
{
    const QByteArray pdf("%PDF-1.4 minimal");
    const QString report = write(QStringLiteral("report.pdf"), pdf);
    const QString readme = write(QStringLiteral("README"), QByteArray("read me"));
    const QString blank = write(QStringLiteral("blank.txt"), {});
    const QString folder = files.filePath(QStringLiteral("folder.pdf"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString missing = files.filePath(QStringLiteral("moved.docx"));
    // Sparse: as large as the limit allows plus one byte, without the disk.
    const QString huge = files.filePath(QStringLiteral("huge.zip"));
    {
        QFile file(huge);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_TRUE(file.resize(AttachmentImporter::MaxImportBytes + 1));
    }
    const QByteArray odd("\x00\x01 a format nobody decodes", 26);
    const QString unknown = write(QStringLiteral("odd.raw"), odd);
    const QString emptyPhoto = write(QStringLiteral("empty.jpg"), {});
    const QString gonePhoto = files.filePath(QStringLiteral("gone.jpg"));
    const QString photo = write(QStringLiteral("p.jpg"), jpeg(QSize(50, 50)));

    AttachmentImporter *running = importer();
    QStringList skipped;
    QObject::connect(running, &AttachmentImporter::skipped, [&](const QString &path) { skipped.append(path); });
    running->importPhotos({ unknown, gonePhoto, emptyPhoto, photo });
    running->importFiles({ report, folder, missing, huge, readme, blank });
    ASSERT_EQ(importer(), running) << "one importer per task keeps one order";
    ASSERT_TRUE(waitUntilDone(running));

    EXPECT_EQ(skipped, QStringList({ gonePhoto, emptyPhoto, folder, missing, huge }));
    QList<Attachment *> stored = task->sortedAttachments();
    const QString photoName = QStringLiteral("Photo Jan 5, 10:00\u202FAM.jpg");
    EXPECT_EQ(names(stored), QStringList({ photoName, photoName, "report.pdf", "README", "blank.txt" }));
    ASSERT_EQ(stored.size(), 5);
    EXPECT_EQ(stored.at(0)->data(), odd);
    EXPECT_EQ(stored.at(0)->typeIdentifier(), TypeRegistry::jpeg());
    EXPECT_EQ(decodeAsStored(*stored.at(1)->data()).image.size(), QSize(50, 50));
    EXPECT_EQ(stored.at(2)->typeIdentifier(), TypeRegistry::pdf());
    EXPECT_EQ(stored.at(2)->data(), pdf);
    EXPECT_EQ(stored.at(3)->typeIdentifier(), TypeRegistry::data());
    EXPECT_EQ(stored.at(4)->typeIdentifier(), QStringLiteral("public.plain-text"));
    // An empty file is still a file.
    ASSERT_TRUE(stored.at(4)->data());
    EXPECT_TRUE(stored.at(4)->data()->isEmpty());
}

TEST_F(AttachmentImporterTest, ADeletedTaskGetsNothingMoreAndTakesItsImporterAlong)
{
    const QString a = write(QStringLiteral("a.jpg"), jpeg(QSize(800, 600)));
    const QString b = write(QStringLiteral("b.jpg"), jpeg(QSize(800, 600)));
    QPointer<AttachmentImporter> running = importer();
    running->importPhotos({ a, b });
    store->remove(task);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !running || !running->isBusy(); }, 20000));
    store->processPendingChanges();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(store->attachments().isEmpty());
    EXPECT_TRUE(running.isNull());
}

} // namespace
