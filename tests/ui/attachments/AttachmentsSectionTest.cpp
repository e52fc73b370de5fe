// The "Photos & Files" section of a task card: tiles for the task's
// attachments, removing one, opening photos and files, adding through the
// pickers, and thumbnails that never show stale or late results.
#include "ui/attachments/AttachmentsSection.h"
#include "core/attachments/AttachmentOpener.h"
#include "core/attachments/FileLauncher.h"
#include "core/model/Page.h"
#include "core/model/RecordPointer.h"
#include "core/model/TaskItem.h"
#include "core/model/TypeRegistry.h"
#include "gui/attachments/ImageCodec.h"
#include "gui/attachments/TestImages.h"
#include "gui/theme/Appearance.h"
#include "support/PageTestKit.h"
#include "ui/attachments/AttachmentPicker.h"
#include "ui/attachments/AttachmentTile.h"
#include "ui/attachments/ImageViewer.h"
#include "ui/attachments/ThumbView.h"
#include "ui/card/CardStyle.h"
#include "ui/card/TaskCard.h"
#include "ui/card/TaskCardHost.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QScrollArea>
#include <QThreadPool>
#include <QTimer>
#include <gtest/gtest.h>

using namespace quillery;
using namespace quillery::ui;
using namespace quillery::test;

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

// Answers the pickers at once with files chosen beforehand.
class ScriptedPicker final : public AttachmentPicker
{
public:
    void pickPhotos(QWidget *, Done done) override { done(photos); }
    void pickFiles(QWidget *, Done done) override { done(files); }
    QStringList photos;
    QStringList files;
};

class AttachmentsSectionTest : public ::testing::Test
{
protected:
    AttachmentsSectionTest()
    {
        kit.appearance.setForcedScheme(ColorScheme::Light);
        Page *page = kit.page(QStringLiteral("Holiday"), { "Pack" });
        task = page->sortedTasks().first();
    }

    Attachment *attach(const QString &name, const QString &type, const std::optional<QByteArray> &bytes)
    {
        auto *attachment = new Attachment(name, type, bytes);
        kit.store->insert(attachment);
        attachment->setTask(task);
        return attachment;
    }

    std::unique_ptr<AttachmentsSection> section()
    {
        auto made = std::make_unique<AttachmentsSection>(task, kit.services(), picker, opener);
        EXPECT_TRUE(showActive(*made, QSize(392, 200)));
        return made;
    }

    PageKit kit;
    TaskItem *task = nullptr;
    RecordingLauncher launcher;
    AttachmentOpener opener { launcher, kit.types };
    ScriptedPicker picker;
};

TEST_F(AttachmentsSectionTest, OnTheCardTheStripIsPaperTheTilesTheAccentAndRemovingKeepsEscape)
{
    task->page()->setColorIndex(3);
    Attachment *keep = attach(QStringLiteral("keep.txt"), QStringLiteral("public.plain-text"), QByteArray("a"));
    Attachment *drop = attach(QStringLiteral("drop.txt"), QStringLiteral("public.plain-text"), QByteArray("b"));
    drop->setCreated(keep->created().addSecs(1));
    QWidget window;
    ASSERT_TRUE(showActive(window));
    TaskCardHost cards(kit.services(), [this](TaskItem *shown, const Services &services, QWidget *parent) {
        return new AttachmentsSection(shown, services, picker, opener, parent);
    });
    TaskCard *card = cards.open(task, &window);
    ASSERT_TRUE(card);
    auto *shown = qobject_cast<AttachmentsSection *>(card->attachmentsBody());
    ASSERT_TRUE(shown);
    ASSERT_TRUE(QTest::qWaitFor([&] { return shown->tiles().size() == 2; }, 2000));
    card->scrollArea()->ensureWidgetVisible(shown);
    settle(400);

    // The strip lies on the card's paper; the file symbols are in the
    // page's colour, not the desktop's highlight.
    const QImage picture = card->grab().toImage();
    const auto at = [&](QWidget *widget, QPoint point) { return picture.pixelColor(widget->mapTo(card, point)); };
    const auto distance = [](QColor a, QColor b) {
        return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue());
    };
    QWidget *strip = shown->findChild<QWidget *>(QStringLiteral("attachmentStrip"));
    const QPoint stripEnd(strip->width() - 20, strip->height() / 2);
    EXPECT_LT(distance(at(strip, stripEnd), at(strip, stripEnd - QPoint(0, strip->height() / 2 + 6))), 24);
    const QColor accent = CardStyle::accent(3);
    const QColor highlight = QApplication::palette().color(QPalette::Highlight);
    int accentPixels = 0;
    int highlightPixels = 0;
    AttachmentTile *tile = shown->tiles().at(1);
    for (int y = 0; y < tile->height(); ++y) {
        for (int x = 0; x < tile->width(); ++x) {
            accentPixels += distance(at(tile, QPoint(x, y)), accent) < 30;
            highlightPixels += distance(at(tile, QPoint(x, y)), highlight) < 30;
        }
    }
    EXPECT_GT(accentPixels, 20);
    EXPECT_EQ(highlightPixels, 0);

    // "Remove" from the tile's own menu, opened from the keyboard.
    tile->setFocus(Qt::TabFocusReason);
    QString chosen;
    QTimer::singleShot(0, [&] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        ASSERT_TRUE(menu);
        QAction *remove = menu->findChild<QAction *>(QStringLiteral("removeAttachment"));
        ASSERT_TRUE(remove);
        chosen = remove->text();
        menu->setActiveAction(remove);
        QTest::keyClick(menu, Qt::Key_Return);
    });
    QContextMenuEvent fromKeyboard(QContextMenuEvent::Keyboard, QPoint(), tile->mapToGlobal(QPoint()));
    QApplication::sendEvent(tile, &fromKeyboard);
    EXPECT_EQ(chosen, QStringLiteral("Remove"));
    EXPECT_TRUE(drop->isDeleted());
    EXPECT_FALSE(keep->isDeleted());
    ASSERT_TRUE(QTest::qWaitFor([&] { return shown->tiles().size() == 1; }, 2000));
    settle();

    // The keyboard is still the card's: Delete removes the focused tile,
    // and Escape still closes the card.
    window.activateWindow(); // as the window manager does when a menu closes
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    settle();
    QPointer<TaskCard> open = card;
    ASSERT_TRUE(card->isAncestorOf(QApplication::focusWidget()));
    shown->tiles().first()->setFocus();
    // The store frees removed records once the event loop runs again.
    const RecordPointer<Attachment> kept(keep);
    QTest::keyClick(window.windowHandle(), Qt::Key_Delete);
    EXPECT_TRUE(!kept || kept->isDeleted());
    ASSERT_TRUE(QTest::qWaitFor([&] { return shown->tiles().isEmpty(); }, 2000));
    QTest::keyClick(window.windowHandle(), Qt::Key_Escape);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !open || open->isDismissed(); }, 2000));
}

TEST_F(AttachmentsSectionTest, TilesComeOldestFirstAFileTileOpensTheFileAndAPhotoTileTheViewer)
{
    Attachment *photo = attach(QStringLiteral("Photo.jpg"), TypeRegistry::jpeg(), jpeg(QSize(3000, 2000)));
    Attachment *report = attach(QStringLiteral("report.pdf"), TypeRegistry::pdf(), QByteArray("%PDF"));
    report->setCreated(photo->created().addSecs(5));
    auto shown = section();
    const QList<AttachmentTile *> tiles = shown->tiles();
    ASSERT_EQ(tiles.size(), 2);
    EXPECT_EQ(tiles.at(0)->attachment(), photo);
    EXPECT_EQ(tiles.at(1)->attachment(), report);
    EXPECT_EQ(tiles.at(1)->accessibleName(), QStringLiteral("report.pdf"));
    EXPECT_FALSE(tiles.at(1)->showsImage());
    // The photo's bitmap arrives from a worker thread, bounded for a tile.
    ASSERT_TRUE(tiles.at(0)->showsImage());
    ThumbView *thumb = tiles.at(0)->thumbView();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !thumb->image().isNull(); }, 10000));
    EXPECT_EQ(thumb->image().size(), QSize(240, 160));

    QTest::mouseClick(tiles.at(1), Qt::LeftButton);
    ASSERT_EQ(launcher.opened.size(), 1);
    EXPECT_EQ(QFileInfo(launcher.opened.first()).fileName(), QStringLiteral("report.pdf"));

    QTest::keyClick(tiles.at(0), Qt::Key_Return);
    ImageViewer *viewer = shown->viewer();
    ASSERT_TRUE(viewer);
    EXPECT_EQ(viewer->attachment(), photo);
    EXPECT_GE(viewer->width(), ImageViewer::MinimumWidth);
    EXPECT_EQ(launcher.opened.size(), 1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !viewer->thumbView()->image().isNull(); }, 10000));
    EXPECT_EQ(viewer->thumbView()->image().size(), QSize(2400, 1600));

    QPointer<ImageViewer> watched = viewer;
    QTest::keyClick(viewer, Qt::Key_Escape);
    ASSERT_TRUE(QTest::qWaitFor([&] { return watched.isNull(); }, 2000));
}

TEST_F(AttachmentsSectionTest, PickedPhotosAndFilesBecomeTiles)
{
    QTemporaryDir dir;
    const auto write = [&](const QString &name, const QByteArray &bytes) {
        QFile file(dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    };
    picker.photos = { write(QStringLiteral("one.jpg"), jpeg(QSize(500, 400))) };
    picker.files = { write(QStringLiteral("report.pdf"), QByteArray("%PDF")) };
    auto shown = section();
    QTest::mouseClick(shown->findChild<QAbstractButton *>(QStringLiteral("addPhoto")), Qt::LeftButton);
    QTest::mouseClick(shown->findChild<QAbstractButton *>(QStringLiteral("addFile")), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return shown->tiles().size() == 2 && !shown->isImporting(); }, 20000));
    EXPECT_TRUE(shown->tiles().at(0)->showsImage());
    EXPECT_EQ(shown->tiles().at(1)->accessibleName(), QStringLiteral("report.pdf"));
}

TEST_F(AttachmentsSectionTest, ThumbnailsShowOnlyTheLatestBytesAndOutliveNothing)
{
    // A slow decode followed at once by a quick one: only the quick one's
    // result may ever be shown.
    const QByteArray slow = jpeg(QSize(6000, 4000));
    const QByteArray quick = jpeg(QSize(90, 60));
    ThumbView view(kit.thumbnails, TileMaxPixel);
    view.resize(76, 76);
    QList<QSize> shownSizes;
    QObject::connect(&view, &ThumbView::imageChanged, [&] { shownSizes.append(view.image().size()); });
    view.setData(slow);
    view.show();
    view.setData(quick);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !view.image().isNull(); }, 10000));
    // Let the slow decode finish and its answer reach the event loop.
    QThreadPool::globalInstance()->waitForDone(30000);
    settle(50);
    EXPECT_EQ(shownSizes, QList<QSize>({ QSize(90, 60) }));

    // Bytes that are not an image, and no bytes, leave the placeholder.
    view.setData(QByteArray("not an image"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !view.isDecoding(); }, 5000));
    EXPECT_TRUE(view.image().isNull());
    view.setData(quick);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !view.image().isNull(); }, 5000));
    view.setData(std::nullopt);
    EXPECT_TRUE(view.image().isNull());

    // A view that goes away mid-decode is simply not told.
    for (int i = 0; i < 4; ++i) {
        auto *gone = new ThumbView(kit.thumbnails, ViewerMaxPixel);
        gone->setData(slow);
        gone->show();
        delete gone;
    }
    QThreadPool::globalInstance()->waitForDone(30000);
    settle(50);
}

} // namespace
