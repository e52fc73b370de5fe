// The Help menu and the about dialog it opens.
#include "ui/app/AboutDialog.h"
#include "support/UrlRecorder.h"
#include "ui/app/HelpMenu.h"

#include <QDesktopServices>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <gtest/gtest.h>

using namespace quillery::ui;
using quillery::test::UrlRecorder;

namespace {

QList<AboutDialog *> openDialogs(const QWidget &window)
{
    QList<AboutDialog *> open;
    for (AboutDialog *dialog : window.findChildren<AboutDialog *>()) {
        if (dialog->isVisible())
            open.append(dialog);
    }
    return open;
}

} // namespace

// Where the menu sits among the others: the assembled window's Edit menu test.
TEST(HelpMenu, opensOneAboutDialogOverTheWindow)
{
    QMainWindow window;
    addHelpMenu(window.menuBar(), &window);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QAction *about = window.menuBar()->actions().first()->menu()->actions().first();

    about->trigger();
    ASSERT_EQ(openDialogs(window).size(), 1);
    QPointer<AboutDialog> dialog = openDialogs(window).first();
    EXPECT_EQ(dialog->windowModality(), Qt::WindowModal);
    EXPECT_EQ(dialog->parentWidget(), &window);

    // Asking again brings the open one forward rather than stacking another.
    about->trigger();
    EXPECT_EQ(openDialogs(window).size(), 1);
    EXPECT_EQ(openDialogs(window).first(), dialog.data());

    // Escape closes it for good; the next request opens a fresh one.
    QTest::keyClick(dialog, Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(dialog.isNull());
    about->trigger();
    EXPECT_EQ(openDialogs(window).size(), 1);
    openDialogs(window).first()->closeButton()->click();
    EXPECT_TRUE(openDialogs(window).isEmpty());
}

TEST(AboutDialog, namesTheVersionAndTheLicenceAndLinksItsText)
{
    AboutDialog dialog;
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    const QRegularExpression versionLine(QStringLiteral("^Version \\d+\\.\\d+\\.\\d+$"));
    EXPECT_TRUE(versionLine.match(dialog.versionLabel()->text()).hasMatch())
        << dialog.versionLabel()->text().toStdString();

    // The icon is built into the program: it shows without an icon theme.
    const QLabel *icon = dialog.findChild<QLabel *>(QStringLiteral("aboutIcon"));
    ASSERT_TRUE(icon);
    EXPECT_FALSE(icon->pixmap().isNull());
    EXPECT_GE(icon->pixmap().width(), AboutDialog::IconSize);

    // Clicking the link hands the licence's address to the browser.
    UrlRecorder browser;
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &browser, "open");
    QLabel *link = dialog.licenseLink();
    const QPoint centre = link->rect().center();
    QTest::mouseMove(link, centre);
    QTest::mouseClick(link, Qt::LeftButton, {}, centre);
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    ASSERT_EQ(browser.opened.size(), 1);
    EXPECT_EQ(browser.opened.first(), AboutDialog::licenseUrl());
}
