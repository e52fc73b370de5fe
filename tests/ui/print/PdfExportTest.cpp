// Pages written to PDF, read back with poppler's tools: the text is text and
// in order, long pages flow onto more sheets, each page is in the outline,
// and the sheet looks like the page on screen.
#include "ui/print/PdfExport.h"
#include "core/model/Page.h"
#include "core/model/TaskItem.h"
#include "support/PageTestKit.h"
#include "ui/pages/PageHeader.h"
#include "ui/pages/PageView.h"
#include "ui/tasks/TaskRow.h"

#include <QProcess>
#include <gtest/gtest.h>

using namespace quillery;
using namespace quillery::ui;
using namespace quillery::test;

namespace {

QString run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60'000) || process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

class PdfExportTest : public ::testing::Test
{
protected:
    void SetUp() override { QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"))); }
    void TearDown() override { QApplication::setFont(m_font); }

    QString path(const QString &name) const { return m_dir.filePath(name); }

    PageKit kit;

private:
    QTemporaryDir m_dir;
    const QFont m_font = QApplication::font();
};

} // namespace

TEST_F(PdfExportTest, aBookIsTextInOrderWithAnOutlineAndLongPagesFlowWithoutCuttingARow)
{
    Page *errands = kit.page(QStringLiteral("Errands"), { "Buy stamps", ">Post the parcel*", "Fix the bike light" });
    errands->sortedTasks().at(2)->setDue(kitNow().addDays(1));
    Page *reading = kit.page(QStringLiteral("Reading list"));
    QStringList chapters;
    for (int i = 1; i <= 60; ++i)
        addTask(chapters.emplace_back(QStringLiteral("Chapter %1 notes").arg(i, 2, 10, QChar(u'0'))), 0, reading,
            *kit.store);

    const QString pdf = path(QStringLiteral("book.pdf"));
    QString error;
    ASSERT_TRUE(PdfExport::write({ errands, reading }, kit.services(), PagePrinter::localePaper(), pdf, &error))
        << error.toStdString();

    const QString text = run(QStringLiteral("pdftotext"), { QStringLiteral("-layout"), pdf, QStringLiteral("-") });
    const QStringList expected
        = QStringList { QStringLiteral("Errands"), QStringLiteral("Buy stamps"), QStringLiteral("Post the parcel"),
              QStringLiteral("Fix the bike light"), QStringLiteral("Tomorrow"), QStringLiteral("Reading list") }
        + chapters;
    qsizetype at = 0;
    for (const QString &piece : expected) {
        const qsizetype found = text.indexOf(piece, at);
        ASSERT_GE(found, 0) << piece.toStdString() << " missing or out of order in:\n" << text.toStdString();
        at = found + piece.size();
    }

    // 60 rows do not fit one sheet; every row is whole on some sheet: its
    // text is on one line of one sheet, none is split between two.
    EXPECT_GE(text.count(u'\f'), 3) << "pdftotext ends each sheet with a form feed";
    const QStringList perSheet = text.split(u'\f');
    for (const QString &chapter : chapters)
        EXPECT_EQ(perSheet.filter(chapter).size(), 1) << chapter.toStdString();

    const QString info = run(QStringLiteral("pdfinfo"), { pdf });
    EXPECT_TRUE(info.contains(PdfExport::documentTitle(kit.services().calendar))) << info.toStdString();
    const QString xml = run(QStringLiteral("pdftohtml"),
        { QStringLiteral("-xml"), QStringLiteral("-i"), QStringLiteral("-stdout"), QStringLiteral("-q"), pdf });
    EXPECT_TRUE(xml.contains(QStringLiteral("<item page=\"1\">Errands</item>"))) << xml.toStdString();
    EXPECT_TRUE(xml.contains(QStringLiteral("<item page=\"2\">Reading list</item>"))) << xml.toStdString();
}

TEST_F(PdfExportTest, aSheetInTheBooksShapeLooksLikeThePageOnScreen)
{
    kit.appearance.setForcedScheme(ColorScheme::Light);
    Page *page = kit.page(QStringLiteral("Weekend"),
        { "Farmers market", ">Apples", ">Bread*", "Return library books*", "Plan the trip" }, 4);
    page->sortedTasks().at(4)->setNotes(QStringLiteral("Trains every hour"));

    PageView view(page, 1, 1, PageActions {}, kit.services(), &kit.editing);
    view.setSnapshot(true);
    ASSERT_TRUE(showActive(view, QSize(600, 834)));
    ASSERT_TRUE(waitUntilStill(view));
    const QImage screen = view.grab().toImage().convertToFormat(QImage::Format_RGB32);

    const QString pdf = path(QStringLiteral("page.pdf"));
    ASSERT_TRUE(PdfExport::write({ page }, kit.services(), PagePrinter::bookPaper(), pdf, nullptr, { true, true }));
    const QString prefix = path(QStringLiteral("sheet"));
    run(QStringLiteral("pdftoppm"),
        { QStringLiteral("-png"), QStringLiteral("-singlefile"), QStringLiteral("-scale-to-x"), QStringLiteral("600"),
            QStringLiteral("-scale-to-y"), QStringLiteral("834"), pdf, prefix });
    const QImage sheet = QImage(prefix + QStringLiteral(".png")).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(sheet.size(), screen.size());

    // Where the page has its title and its rows (the colour button and the
    // footer are the screen's alone), the two agree once the grain, which
    // differs dot by dot, is averaged away over 4 × 4 points.
    constexpr int Block = 4;
    const auto averaged = [](const QImage &image) {
        return image.scaled(image.size() / Block, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    };
    const QImage screenBlocks = averaged(screen);
    const QImage sheetBlocks = averaged(sheet);
    QRegion drawn(view.header()->geometry());
    for (TaskRow *row : view.rows())
        drawn += QRect(row->mapTo(&view, QPoint(0, 0)), row->size());
    int blocks = 0;
    int off = 0;
    qint64 total = 0;
    for (const QRect &rect : drawn) {
        for (int y = rect.top() / Block; y < rect.bottom() / Block; ++y) {
            for (int x = rect.left() / Block; x < rect.right() / Block; ++x) {
                const QRgb a = screenBlocks.pixel(x, y);
                const QRgb b = sheetBlocks.pixel(x, y);
                const int difference
                    = std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b));
                ++blocks;
                total += difference;
                if (difference > 60)
                    ++off;
            }
        }
    }
    EXPECT_LT(off, blocks / 50) << off << " of " << blocks << " blocks differ";
    EXPECT_LT(double(total) / blocks, 10.0) << "mean difference over the three channels";
}
