#include "MainWindow.h"

#include "BookMenu.h"
#include "HelpMenu.h"
#include "X11SizeHints.h"
#include "ui/book/BookView.h"
#include "ui/book/FaceLayout.h"

#include <QEvent>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QTimer>
#include <QToolBar>
#include <QWindow>

#include <algorithm>

namespace quillery::ui {

namespace {
// Room left for the window manager's title bar and frame when the default
// size must shrink to fit the screen.
constexpr int FrameAllowance = 48;
} // namespace

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent)
{
    setObjectName(QStringLiteral("QuilleryWindow"));
    // The book draws no title of its own, but the window is named: task
    // switchers, window lists and screen readers show this name, and a
    // blank one leaves the window anonymous there.
    setWindowTitle(QStringLiteral("Quillery"));
    resize(DefaultWidth, DefaultHeight);
}

void MainWindow::setBook(BookView *book, CommandBus &bus, Preferences &preferences)
{
    m_book = book;
    book->setMinimumSize(MinimumWidth, MinimumHeight);
    setCentralWidget(book);
    connect(book, &BookView::windowMoveRequested, this, [this] {
        if (QWindow *window = windowHandle())
            window->startSystemMove();
    });

    m_bookMenu = buildMenuBar(*menuBar(), { &bus, &preferences, [this] { Q_EMIT quitRequested(); } });
    addHelpMenu(menuBar(), this);

    m_toolBar = new QToolBar(tr("Toolbar"), this);
    m_toolBar->setObjectName(QStringLiteral("bookToolBar"));
    m_toolBar->setMovable(false);
    m_toolBar->setFloatable(false);
    m_toolBar->setContextMenuPolicy(Qt::PreventContextMenu);
    m_toolBar->toggleViewAction()->setEnabled(false);
    // The button sits at the trailing end.
    auto *spacer = new QWidget(m_toolBar);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    m_toolBar->addWidget(spacer);
    m_allPages = makeAllPagesAction(bus, *book->services().appearance, this);
    m_toolBar->addAction(m_allPages);
    addToolBar(Qt::TopToolBarArea, m_toolBar);

    const QScreen *screen = this->screen();
    resize(defaultSize(screen ? screen->availableGeometry().size() : QSize()));
}

int MainWindow::chromeHeight() const
{
    int chrome = 0;
    if (QMenuBar *bar = qobject_cast<QMenuBar *>(menuWidget()); bar && !bar->isNativeMenuBar())
        chrome += bar->sizeHint().height();
    if (m_toolBar)
        chrome += m_toolBar->sizeHint().height();
    return chrome;
}

QSize MainWindow::defaultSize(const QSize &available) const
{
    const int chrome = chromeHeight();
    int width = DefaultWidth;
    int bookHeight = DefaultHeight;
    if (available.isValid() && chrome + bookHeight + FrameAllowance > available.height()) {
        bookHeight = std::max(MinimumHeight, available.height() - FrameAllowance - chrome);
        width = std::max(MinimumWidth, bookHeight * FaceLayout::PageWidthRatio / FaceLayout::PageHeightRatio);
        bookHeight = std::max(MinimumHeight, FaceLayout::heightForWidth(width, false));
    }
    return { width, bookHeight + chrome };
}

void MainWindow::keepProportions()
{
    m_proportionsQueued = false;
    if (!m_book || !windowHandle())
        return;
    // Everything above the book is the base the ratio does not apply to.
    const QSize base(width() - m_book->width(), height() - m_book->height());
    X11SizeHints::keepAspect(windowHandle(), QSize(FaceLayout::PageWidthRatio, FaceLayout::PageHeightRatio), base);
}

bool MainWindow::event(QEvent *event)
{
    switch (event->type()) {
    case QEvent::Show:
    case QEvent::Resize:
    case QEvent::LayoutRequest:
    case QEvent::WindowStateChange:
        // Qt rewrites the window manager's size hints on its own changes of
        // size and limits; the proportions go back in once it is done.
        if (!m_proportionsQueued) {
            m_proportionsQueued = true;
            QTimer::singleShot(0, this, &MainWindow::keepProportions);
        }
        break;
    default:
        break;
    }
    return QMainWindow::event(event);
}

void MainWindow::bringToFront()
{
    if (isMinimized())
        showNormal();
    else
        show();
    raise();
    activateWindow();
}

void MainWindow::setNotice(const QString &text)
{
    if (!m_noticeBar) {
        if (text.isEmpty())
            return;
        // A bar of its own under the toolbar: it pushes the book down rather
        // than covering the top of the page.
        addToolBarBreak(Qt::TopToolBarArea);
        m_noticeBar = new QToolBar(tr("Notice"), this);
        m_noticeBar->setObjectName(QStringLiteral("noticeBar"));
        m_noticeBar->setMovable(false);
        m_noticeBar->setFloatable(false);
        m_noticeBar->setContextMenuPolicy(Qt::PreventContextMenu);
        m_noticeBar->toggleViewAction()->setEnabled(false);
        m_notice = new QLabel(m_noticeBar);
        m_notice->setObjectName(QStringLiteral("notice"));
        m_notice->setWordWrap(true);
        m_notice->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
        m_notice->setContentsMargins(10, 6, 10, 6);
        m_notice->setAutoFillBackground(true);
        m_notice->setBackgroundRole(QPalette::ToolTipBase);
        m_notice->setForegroundRole(QPalette::ToolTipText);
        m_notice->setAccessibleName(tr("Notice"));
        m_noticeBar->addWidget(m_notice);
        addToolBar(Qt::TopToolBarArea, m_noticeBar);
    }
    m_notice->setText(text);
    m_notice->setAccessibleDescription(text);
    m_noticeBar->setVisible(!text.isEmpty());
}

QString MainWindow::notice() const
{
    return m_notice && m_noticeBar->isVisibleTo(this) ? m_notice->text() : QString();
}

void MainWindow::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && !isActiveWindow())
        Q_EMIT deactivated();
}

} // namespace quillery::ui
