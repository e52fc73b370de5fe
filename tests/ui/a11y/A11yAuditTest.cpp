// The audit itself, so that an accessibility test cannot pass by finding
// nothing: what it counts as a control, what it counts as a name.
#include "support/A11yAudit.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWidgetAction>
#include <gtest/gtest.h>

using namespace quillery::test;

namespace {

template <typename T> T *add(QWidget &parent, const char *name)
{
    auto *widget = new T(&parent);
    widget->setObjectName(QLatin1String(name));
    parent.layout()->addWidget(widget);
    return widget;
}

QStringList names(const QList<QWidget *> &widgets)
{
    QStringList out;
    for (const QWidget *widget : widgets)
        out << widget->objectName();
    out.sort();
    return out;
}

} // namespace

TEST(A11yAudit, findsEveryKindOfUnnamedControlAndNothingElse)
{
    QWidget root;
    new QVBoxLayout(&root);

    // Named: by text, by accessible name, by a buddy label.
    add<QPushButton>(root, "textButton")->setText(QStringLiteral("&Save"));
    add<QToolButton>(root, "namedIcon")->setAccessibleName(QStringLiteral("Next Page"));
    auto *buddy = add<QLabel>(root, "buddyLabel");
    buddy->setText(QStringLiteral("&Title"));
    auto *titled = add<QLineEdit>(root, "titledField");
    buddy->setBuddy(titled);

    // Unnamed controls of every kind, a disabled one too.
    add<QToolButton>(root, "iconOnly");
    add<QLineEdit>(root, "bareField");
    add<QCheckBox>(root, "bareCheck");
    add<QPushButton>(root, "disabledBare")->setEnabled(false);
    add<QWidget>(root, "focusableCustom")->setFocusPolicy(Qt::StrongFocus);

    // Not controls, or not shown: never reported.
    add<QLabel>(root, "plainLabel")->setText(QStringLiteral("Hello"));
    add<QWidget>(root, "clickFocusOnly")->setFocusPolicy(Qt::ClickFocus);
    add<QPushButton>(root, "hiddenBare")->hide();
    QWidget *hiddenGroup = add<QWidget>(root, "hiddenGroup");
    new QPushButton(hiddenGroup); // shown, but inside a hidden parent
    hiddenGroup->hide();
    // A scroll area is a container, even when it takes focus, but the
    // controls in it count; a text edit is a scroll area that counts.
    auto *scroll = add<QScrollArea>(root, "scroll");
    scroll->setFocusPolicy(Qt::StrongFocus);
    auto *scrolled = new QToolButton;
    scrolled->setObjectName(QStringLiteral("scrolledBare"));
    scroll->setWidget(scrolled);
    add<QPlainTextEdit>(root, "bareNotes");

    const QStringList expected
        = { "bareCheck", "bareField", "bareNotes", "disabledBare", "focusableCustom", "iconOnly", "scrolledBare" };
    // The same answer before the window is shown and after.
    EXPECT_EQ(names(unlabelledControls(&root)), expected) << describeControls(unlabelledControls(&root)).toStdString();
    root.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&root));
    EXPECT_EQ(names(unlabelledControls(&root)), expected) << describeControls(unlabelledControls(&root)).toStdString();

    // Once named, each one passes.
    for (QWidget *widget : unlabelledControls(&root))
        widget->setAccessibleName(widget->objectName());
    EXPECT_TRUE(unlabelledControls(&root).isEmpty()) << describeControls(unlabelledControls(&root)).toStdString();
}

TEST(A11yAudit, menusReportItemsWithoutTextAndUnnamedWidgetItems)
{
    QMenu menu;
    menu.setTitle(QStringLiteral("Page"));
    menu.addAction(QStringLiteral("Contents"));
    menu.addSeparator();
    QAction *blank = menu.addAction(QString());
    blank->setObjectName(QStringLiteral("blankItem"));
    menu.addAction(QStringLiteral("Hidden blank"))->setText(QStringLiteral("&"));
    QMenu *typeface = menu.addMenu(QStringLiteral("Typeface"));
    typeface->addAction(QStringLiteral("Sans"));
    typeface->addAction(QString())->setObjectName(QStringLiteral("blankSub"));
    QAction *invisible = menu.addAction(QString());
    invisible->setVisible(false);

    auto *holder = new QWidget;
    new QVBoxLayout(holder);
    auto *swatch = new QToolButton(holder);
    swatch->setObjectName(QStringLiteral("swatch"));
    holder->layout()->addWidget(swatch);
    auto *widgetItem = new QWidgetAction(&menu);
    widgetItem->setObjectName(QStringLiteral("colours"));
    widgetItem->setDefaultWidget(holder);
    menu.addAction(widgetItem);

    const QStringList found = unlabelledMenuItems(&menu);
    EXPECT_EQ(found.size(), 4) << found.join(u'\n').toStdString();
}
