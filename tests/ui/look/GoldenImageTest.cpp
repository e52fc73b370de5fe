// How a page, a task card and the contents look, light and dark: drawn in
// DejaVu Sans at a fixed size and compared pixel by pixel with the pictures in
// tests/data/golden. After an intended change of the look, rewrite them with
// UPDATE_GOLDEN=1, look at them, and commit them with the change.
#include "core/attachments/AttachmentOpener.h"
#include "core/attachments/FileLauncher.h"
#include "core/model/Page.h"
#include "core/model/TaskItem.h"
#include "gui/theme/Appearance.h"
#include "support/PageTestKit.h"
#include "support/TestEnvironment.h"
#include "ui/attachments/AttachmentPicker.h"
#include "ui/attachments/AttachmentsSection.h"
#include "ui/card/TaskCard.h"
#include "ui/contents/ContentsTestKit.h"
#include "ui/pages/PageView.h"

#include <QDir>
#include <QFontInfo>
#include <gtest/gtest.h>

using namespace quillery;
using namespace quillery::ui;
using namespace quillery::test;

namespace {

// A channel may be this far off (font smoothing, rounding of the tint)...
constexpr int Tolerance = 12;
// ...and this many pixels may be off by more, far fewer than any real change
// of a glyph, a line or a dot.
constexpr int StrayPixels = 40;

// The widget drawn once nothing in it moves any more.
QImage stillPicture(QWidget &widget)
{
    EXPECT_TRUE(waitUntilStill(widget));
    return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// The picture with each channel rounded to a multiple of 10: under 256
// colours, so the kept file is a small palette PNG.
QImage keptForm(const QImage &picture)
{
    QImage rounded = picture;
    for (int y = 0; y < rounded.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(rounded.scanLine(y));
        for (int x = 0; x < rounded.width(); ++x) {
            const auto round = [](int v) { return std::min(255, (v + 5) / 10 * 10); };
            line[x] = qRgb(round(qRed(line[x])), round(qGreen(line[x])), round(qBlue(line[x])));
        }
    }
    const QImage indexed = rounded.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither | Qt::AvoidDither);
    return indexed.colorCount() <= 256 && indexed.convertToFormat(QImage::Format_RGB32) == rounded ? indexed : rounded;
}

void expectLooksAsKept(const QImage &picture, const QString &name)
{
    const QString kept = testDataPath(QStringLiteral("golden/%1.png").arg(name));
    if (qEnvironmentVariableIntValue("UPDATE_GOLDEN") == 1) {
        QDir().mkpath(QFileInfo(kept).absolutePath());
        ASSERT_TRUE(keptForm(picture).save(kept)) << kept.toStdString();
        return;
    }
    const QImage expected = QImage(kept).convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(expected.isNull()) << kept.toStdString() << " is missing: run with UPDATE_GOLDEN=1";
    ASSERT_EQ(picture.size(), expected.size()) << name.toStdString();

    QImage difference(picture.size(), QImage::Format_RGB32);
    difference.fill(Qt::white);
    int off = 0;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb a = picture.pixel(x, y);
            const QRgb b = expected.pixel(x, y);
            if (std::abs(qRed(a) - qRed(b)) > Tolerance || std::abs(qGreen(a) - qGreen(b)) > Tolerance
                || std::abs(qBlue(a) - qBlue(b)) > Tolerance) {
                ++off;
                difference.setPixel(x, y, qRgb(255, 0, 0));
            }
        }
    }
    if (off > StrayPixels) {
        const QDir folder(QDir::temp().filePath(QStringLiteral("quillery-golden")));
        folder.mkpath(QStringLiteral("."));
        picture.save(folder.filePath(name + QStringLiteral("-actual.png")));
        difference.save(folder.filePath(name + QStringLiteral("-difference.png")));
        ADD_FAILURE() << name.toStdString() << ": " << off << " pixels differ; see "
                      << folder.absolutePath().toStdString();
    }
}

// The card's strip is only drawn here: nothing is picked or opened.
struct NoFiles final : AttachmentPicker, FileLauncher {
    void pickPhotos(QWidget *, Done) override { }
    void pickFiles(QWidget *, Done) override { }
    bool openFile(const QString &) override { return false; }
};

class GoldenImage : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QApplication::setFont(QFont(QStringLiteral("DejaVu Sans")));
        ASSERT_EQ(QFontInfo(QApplication::font()).family(), QStringLiteral("DejaVu Sans"))
            << "the pictures are drawn in DejaVu Sans (Debian's fonts-dejavu-core)";
        QApplication::setCursorFlashTime(0); // a steady text cursor
        kit.appearance.setForcedScheme(ColorScheme::Light);
    }
    void TearDown() override
    {
        QApplication::setCursorFlashTime(m_flashTime);
        QApplication::setFont(m_font);
    }

    PageKit kit;

private:
    const QFont m_font = QApplication::font();
    const int m_flashTime = QApplication::cursorFlashTime();
};

} // namespace

TEST_F(GoldenImage, aPageWithSubtasksDoneTasksAndSummaryLines)
{
    Page *page = kit.page(QStringLiteral("Weekend"),
        { "Farmers market", ">Apples", ">Bread*", "Call the plumber about the kitchen sink before Saturday morning",
            "Return library books*", "Plan the trip" },
        4);
    const QList<TaskItem *> tasks = page->sortedTasks();
    tasks.at(0)->setDue(kitNow().addSecs(3600));
    tasks.at(0)->setAlarm(kitNow().addSecs(4 * 3600));
    tasks.at(3)->setDue(kitNow().addDays(-2));
    tasks.at(5)->setPlace(Place { QStringLiteral("Central Station"), QString(), 40.75, -73.97 });
    tasks.at(5)->setNotes(QStringLiteral("Trains every hour"));

    PageView view(page, 3, 7, PageActions {}, kit.services(), &kit.editing);
    ASSERT_TRUE(showActive(view));
    expectLooksAsKept(stillPicture(view), QStringLiteral("page-light"));
    kit.appearance.setForcedScheme(ColorScheme::Dark);
    expectLooksAsKept(stillPicture(view), QStringLiteral("page-dark"));
}

TEST_F(GoldenImage, aTaskCardWithEverythingSet)
{
    Page *page = kit.page(QStringLiteral("Weekend"), { "Swim", "Pack the bag for the pool" }, 4);
    TaskItem *task = page->sortedTasks().at(1);
    task->setIndent(1);
    task->setDue(kitNow().addDays(1));
    task->setAlarm(kitNow().addDays(1).addSecs(-3600));
    task->setPlace(Place { QStringLiteral("City Pool"), QStringLiteral("12 High Street, Springfield"), 40.7, -74.0 });
    task->setNotes(QStringLiteral("Towel, goggles, the blue cap"));

    NoFiles files;
    AttachmentOpener opener { files, kit.types };
    TaskCard card(task, kit.services(), [&](TaskItem *item, const Services &services, QWidget *parent) {
        return new AttachmentsSection(item, services, files, opener, parent);
    });
    ASSERT_TRUE(showActive(card, QSize(TaskCard::Width, TaskCard::Height)));
    expectLooksAsKept(stillPicture(card), QStringLiteral("card-light"));
    kit.appearance.setForcedScheme(ColorScheme::Dark);
    expectLooksAsKept(stillPicture(card), QStringLiteral("card-dark"));
}

TEST_F(GoldenImage, theContentsWithTheCurrentPageADoneTaskAnUntitledPageAndTheNewPageCell)
{
    for (const ColorScheme scheme : { ColorScheme::Light, ColorScheme::Dark }) {
        ContentsKit contents;
        contents.kit.appearance.setForcedScheme(scheme);
        const QList<Page *> pages = contents.addPages(3);
        pages.at(0)->setTitle(QStringLiteral("Groceries"));
        for (const char *text : { "Milk", "Eggs", "Bread", "Apples", "Cheese", "Coffee", "Tea", "Rice", "Pasta" })
            addTask(QString::fromUtf8(text), 0, pages.at(0), *contents.kit.store);
        pages.at(0)->sortedTasks().at(1)->setDone(true);
        pages.at(2)->setTitle(QString());
        contents.showPage(1);
        const auto view = contents.open();
        expectLooksAsKept(stillPicture(contents.host),
            scheme == ColorScheme::Light ? QStringLiteral("contents-light") : QStringLiteral("contents-dark"));
    }
}
