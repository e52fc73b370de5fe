// How the card looks: its measures taken from the laid-out widgets and its
// paper from the drawn pixels. Set QUILLERY_SHOTS to a folder to keep the
// pictures for a look.
#include "CardKit.h"
#include "core/model/Page.h"
#include "core/model/TaskItem.h"
#include "core/theme/Appearance.h"
#include "core/theme/Palette.h"
#include "core/theme/ThemeColors.h"
#include "ui/card/CardSection.h"
#include "ui/card/CardSwitch.h"
#include "ui/card/GrowingTextEdit.h"
#include "ui/card/PlaceSection.h"
#include "ui/card/PlainButton.h"
#include "ui/card/TaskCard.h"
#include "ui/card/TaskCardHost.h"
#include "ui/card/WhenSection.h"
#include "ui/places/MapPreview.h"
#include "ui/tasks/Pill.h"

#include <QCalendarWidget>
#include <QDir>
#include <QLabel>
#include <QScrollArea>
#include <QTimeEdit>
#include <QVBoxLayout>
#include <gtest/gtest.h>

using namespace quillery;
using namespace quillery::ui;
using namespace quillery::test;
using quillery::ReminderDates::QuickDay;

namespace {

void keep(const QImage &image, const QString &name)
{
    const QString folder = qEnvironmentVariable("QUILLERY_SHOTS");
    if (folder.isEmpty())
        return;
    QDir().mkpath(folder);
    image.save(QDir(folder).filePath(name + QStringLiteral(".png")));
}

// Where a widget sits in the card's scrolling column.
QRect inColumn(const TaskCard &card, const QWidget *widget)
{
    const QWidget *column = card.scrollArea()->widget();
    return QRect(widget->mapTo(column, QPoint()), widget->size());
}

TaskItem *fullTask(CardKit &kit)
{
    Page *page = kit.page(QStringLiteral("Weekend"), { "Swim", "Pack the bag for the pool" }, 4);
    TaskItem *task = page->sortedTasks().at(1);
    task->setIndent(1);
    task->setDue(kit.newYork(2027, 1, 6, 0, 0));
    task->setAlarm(kit.newYork(2027, 1, 6, 9, 0));
    task->setPlace(Place { QStringLiteral("City Pool"), QStringLiteral("12 High Street, Springfield"), 40.7, -74.0 });
    task->setNotes(QStringLiteral("Towel, goggles, the blue cap"));
    return task;
}

} // namespace

TEST(TaskCardLook, measuresOfACardWithEverythingSet)
{
    CardKit kit;
    TaskItem *task = fullTask(kit);
    const auto strip = [](TaskItem *, const Services &, QWidget *parent) -> QWidget * {
        auto *label = new QLabel(QStringLiteral("(attachments)"), parent);
        label->setMinimumHeight(64);
        return label;
    };
    TaskCard card(task, kit.cardServices(), strip);
    ASSERT_TRUE(showActive(card, QSize(TaskCard::Width, TaskCard::Height)));
    settle(300);
    EXPECT_EQ(card.size(), QSize(440, 640));

    // The column: inset 24, sections 26 apart, headings 10 above their body.
    const QRect title = inColumn(card, card.titleField());
    EXPECT_EQ(title.topLeft(), QPoint(24, 24));
    EXPECT_EQ(title.height(), card.titleField()->visibleLines() * QFontMetrics(card.titleField()->font()).height());
    EXPECT_EQ(card.titleField()->font().pixelSize(), 24);
    EXPECT_EQ(card.notesField()->font().pixelSize(), 17);
    EXPECT_EQ(inColumn(card, card.notesField()).height(), 2 * QFontMetrics(card.notesField()->font()).height());
    const QRect done = inColumn(card, card.doneButton());
    EXPECT_EQ(done.right() + 1, 440 - 24);
    EXPECT_EQ(done.top(), 24 + 4);
    EXPECT_EQ(done.left() - (title.right() + 1), 14);

    const QRect header = inColumn(card, card.titleField()->parentWidget());
    const QList<CardSection *> sections = card.sections();
    EXPECT_EQ(inColumn(card, sections.at(0)).top() - (header.bottom() + 1), 26);
    for (CardSection *section : sections) {
        EXPECT_EQ(inColumn(card, section).left(), 24);
        EXPECT_EQ(inColumn(card, section).width(), 392);
        EXPECT_NEAR(section->heading()->font().letterSpacing(), 0.8, 0.01);
        const QWidget *body = section->body()->itemAt(0) ? section->body()->itemAt(0)->widget() : nullptr;
        ASSERT_TRUE(body) << section->name().toStdString();
        EXPECT_EQ(inColumn(card, body).top() - (inColumn(card, section->heading()).bottom() + 1), 10);
    }
    EXPECT_EQ(inColumn(card, card.subtaskSwitch()).top() - (inColumn(card, sections.at(0)).bottom() + 1), 26);
    EXPECT_TRUE(card.subtaskSwitch()->isChecked());

    // Pills: 40 high, 8 apart.
    const WhenSection *when = card.whenSection();
    const QRect today = inColumn(card, when->quickDayPill(QuickDay::Today));
    const QRect tomorrow = inColumn(card, when->quickDayPill(QuickDay::Tomorrow));
    EXPECT_EQ(today.height(), 40);
    EXPECT_EQ(tomorrow.left() - (today.right() + 1), 8);
    EXPECT_TRUE(when->quickDayPill(QuickDay::Tomorrow)->isOn());
    EXPECT_TRUE(when->timePicker()->isVisible());

    // The map: as wide as the column, 130 high.
    const QRect map = inColumn(card, card.placeSection()->mapPreview());
    EXPECT_EQ(map.size(), QSize(392, 130));
    EXPECT_EQ(map.left(), 24);

    const QRect remove = inColumn(card, card.deleteButton());
    EXPECT_EQ(remove.width(), 392);
    EXPECT_GE(remove.height(), 44);
    EXPECT_EQ(card.scrollArea()->widget()->height() - (remove.bottom() + 1), 24);

    // Drawn on the Ocean page's paper: white with a faint blue tint.
    kit.appearance.setForcedScheme(ColorScheme::Light);
    const QImage picture = card.grab().toImage();
    keep(picture, QStringLiteral("card-top"));
    const QColor corner = picture.pixelColor(picture.width() / 2, 8);
    EXPECT_GT(corner.blue(), corner.red());
    EXPECT_GT(corner.lightness(), 200);
    card.scrollArea()->ensureWidgetVisible(card.deleteButton());
    settle();
    keep(card.grab().toImage(), QStringLiteral("card-bottom"));
    kit.appearance.setForcedScheme(ColorScheme::Dark);
    settle();
    keep(card.grab().toImage(), QStringLiteral("card-dark"));
    const QColor darkCorner = card.grab().toImage().pixelColor(picture.width() / 2, 8);
    EXPECT_LT(darkCorner.lightness(), 80);
}

TEST(TaskCardLook, theSheetDimsTheWindowAroundTheCard)
{
    CardKit kit;
    kit.appearance.setForcedScheme(ColorScheme::Light);
    Page *page = kit.page(QStringLiteral("Weekend"), { "Swim" }, 1);
    TaskItem *task = page->sortedTasks().at(0);
    task->setDue(kit.newYork(2027, 1, 20, 0, 0)); // far away: the date picker shows

    QWidget window;
    window.setAutoFillBackground(true);
    QPalette white = window.palette();
    white.setColor(QPalette::Window, Qt::white);
    window.setPalette(white);
    ASSERT_TRUE(showActive(window, QSize(600, 834)));
    TaskCardHost cards(kit.cardServices());
    TaskCard *card = cards.open(task, &window);
    ASSERT_TRUE(QTest::qWaitFor([&] { return card->geometry().top() == 97; }, 3000));
    settle(50);
    EXPECT_TRUE(card->whenSection()->datePicker()->isVisible());

    const QImage shot = window.grab().toImage();
    keep(shot, QStringLiteral("card-sheet"));
    const QColor dimmed = shot.pixelColor(10, 10);
    EXPECT_LT(dimmed.lightness(), 200) << "the window behind is dimmed";
    const QColor paper = shot.pixelColor(300, 105);
    EXPECT_GT(paper.lightness(), 200);
    EXPECT_GT(paper.red(), paper.blue()) << "Amber paper";
    card->dismiss();
}
