#include "BookView.h"

#include "FaceLayout.h"
#include "PageStage.h"
#include "TurnGesture.h"
#include "TurnPicture.h"
#include "core/alarms/AlarmService.h"
#include "core/alarms/AlarmStatus.h"
#include "core/app/CommandBus.h"
#include "core/model/Editing.h"
#include "core/theme/Spring.h"
#include "gui/theme/Appearance.h"
#include "gui/theme/ThemeColors.h"
#include "ui/pages/PageView.h"
#include "ui/theme/Motion.h"

#include <QApplication>
#include <QGraphicsOpacityEffect>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextEdit>
#include <QVariantAnimation>

#include <algorithm>

namespace quillery::ui {

namespace {

const Spring ContentsSpring { 0.3, 1.0 };
constexpr double ContentsScale = 0.97; // the contents grow from this as they fade in
constexpr int TopStripHeight = 18; // the paper above the title: a handle for the window

// The contents while they come and go: their picture, scaled and faded.
class FadingPicture final : public QWidget
{
public:
    FadingPicture(const QPixmap &picture, QWidget *parent)
        : QWidget(parent)
        , m_picture(picture)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

    void setShown(double shown)
    {
        m_shown = shown;
        update();
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.setOpacity(std::clamp(m_shown, 0.0, 1.0));
        const double scale = ContentsScale + (1 - ContentsScale) * m_shown;
        painter.translate(width() / 2.0, height() / 2.0);
        painter.scale(scale, scale);
        painter.translate(-width() / 2.0, -height() / 2.0);
        painter.drawPixmap(rect(), m_picture);
    }

private:
    QPixmap m_picture;
    double m_shown = 0;
};

bool isTextInput(const QWidget *widget, const QWidget *stop)
{
    for (const QWidget *w = widget; w && w != stop; w = w->parentWidget()) {
        if (const auto *line = qobject_cast<const QLineEdit *>(w))
            return !line->isReadOnly();
        if (const auto *text = qobject_cast<const QTextEdit *>(w))
            return !text->isReadOnly();
        if (const auto *plain = qobject_cast<const QPlainTextEdit *>(w))
            return !plain->isReadOnly();
    }
    return false;
}

} // namespace

BookView::BookView(const Services &services, QWidget *parent)
    : BookView(services, Book::Timing {}, parent)
{ }

BookView::BookView(const Services &services, Book::Timing timing, QWidget *parent)
    : QWidget(parent)
    , m_services(services)
    , m_book(std::make_unique<Book>(*services.store, *services.preferences, *services.alarms, timing))
{
    setObjectName(QStringLiteral("bookView"));
    setAccessibleName(tr("Book"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(360, 500);

    m_stage = new PageStage(*m_book, m_services, this);
    m_picture = new TurnPicture(*m_services.appearance, this);
    m_picture->hide();
    connect(m_stage, &PageStage::taskOpenRequested, this, &BookView::taskOpenRequested);

    m_gesture = new TurnGesture(
        *m_book, this,
        [this](QWidget *target, const QPoint &viewPos) {
            // Only the book itself turns: anything laid over it (the
            // contents, a card) keeps its own drags.
            using Place = TurnGesture::Place;
            const bool onPage = target == m_stage || m_stage->isAncestorOf(target);
            if (target == this && !m_faceRect.contains(viewPos))
                return Place::Desk;
            if (!onPage && target != this && target != m_picture)
                return Place::Elsewhere;
            if (isTextInput(target, this))
                return Place::Elsewhere;
            if (!onPage || m_stage->isPaper(target))
                return viewPos.y() - m_faceRect.top() < TopStripHeight ? Place::TopStrip : Place::Paper;
            return Place::Face;
        },
        this);
    connect(m_gesture, &TurnGesture::windowMoveRequested, this, &BookView::windowMoveRequested);

    connect(m_book.get(), &Book::currentChanged, m_stage, &PageStage::sync);
    connect(m_book.get(), &Book::pagesChanged, m_stage, &PageStage::sync);
    connect(m_book.get(), &Book::turnChanged, this, &BookView::turnChanged);
    connect(m_book.get(), &Book::showContentsChanged, this, &BookView::contentsShownChanged);
    connect(&m_services.alarms->status(), &AlarmStatus::showDeniedChanged, this, &BookView::showDeniedAlert);
    connect(m_services.appearance, &Appearance::schemeChanged, this, qOverload<>(&QWidget::update));

    m_stage->sync();
}

BookView::~BookView()
{
    if (m_window)
        m_window->removeEventFilter(this);
    // The views go before the book whose state they show.
    delete m_gesture;
    delete m_picture;
    delete m_stage;
    delete m_overlay;
}

Editing &BookView::editing() const
{
    return m_book->editing();
}

void BookView::listenTo(CommandBus &bus)
{
    connect(&bus, &CommandBus::posted, m_book.get(), &Book::handleCommand);
}

void BookView::setContentsFactory(ContentsFactory factory)
{
    m_contentsFactory = std::move(factory);
}

PageView *BookView::currentPageView() const
{
    return m_stage->currentView();
}

QSize BookView::sizeHint() const
{
    return { 600, FaceLayout::heightForWidth(600, m_book->spreadMode()) };
}

QSize BookView::minimumSizeHint() const
{
    return { 360, 500 };
}

void BookView::layoutFace()
{
    m_faceRect = FaceLayout::faceRect(size(), m_book->spreadMode());
    m_stage->setGeometry(m_faceRect);
    m_picture->setGeometry(m_faceRect);
    m_gesture->setFaceWidth(m_faceRect.width());
    if (m_overlay)
        m_overlay->setGeometry(rect());
    if (m_overlayMotion)
        m_overlayMotion->setGeometry(rect());
}

void BookView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutFace();
    // Pictures of the old size would be stretched: the turn goes on live.
    if (m_turnShown)
        beginTurnPictures();
}

void BookView::paintEvent(QPaintEvent *event)
{
    // The desk around the face; the face paints itself.
    QPainter painter(this);
    painter.fillRect(event->rect(), themeColor(ThemeColor::Desk, m_services.appearance->scheme()));
}

void BookView::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    watchWindow();
    m_book->start();
    keepFocus();
}

void BookView::watchWindow()
{
    QWindow *handle = window()->windowHandle();
    m_gesture->attach(handle);
    if (m_window == handle)
        return;
    if (m_window)
        m_window->removeEventFilter(this);
    m_window = handle;
    if (m_window)
        m_window->installEventFilter(this);
}

bool BookView::eventFilter(QObject *watched, QEvent *event)
{
    // The arrows turn pages whichever part of the page has the focus (a
    // scroll area or a button would take them for themselves), except in
    // text being edited and in the contents.
    if (watched != m_window || event->type() != QEvent::KeyPress)
        return false;
    auto *keyEvent = static_cast<QKeyEvent *>(event);
    const std::optional<Book::Key> key = bookKey(keyEvent);
    if (!key || *key == Book::Key::Escape)
        return false;
    QWidget *focus = QApplication::focusWidget();
    const bool onBook = !focus || focus == window() || focus == this || m_stage->isAncestorOf(focus);
    if (!onBook || (focus && isTextInput(focus, this)))
        return false;
    return m_book->handleKey(*key);
}

std::optional<Book::Key> BookView::bookKey(const QKeyEvent *event) const
{
    if (event->modifiers() != Qt::NoModifier && event->modifiers() != Qt::KeypadModifier)
        return std::nullopt;
    switch (event->key()) {
    case Qt::Key_Left:
        return Book::Key::Left;
    case Qt::Key_Right:
        return Book::Key::Right;
    case Qt::Key_Escape:
        return Book::Key::Escape;
    default:
        return std::nullopt;
    }
}

bool BookView::event(QEvent *event)
{
    switch (event->type()) {
    case QEvent::WindowActivate:
        m_book->setActive(true);
        break;
    case QEvent::WindowDeactivate:
        m_gesture->interrupt();
        m_book->setActive(false);
        break;
    case QEvent::ParentChange:
        if (isVisible())
            watchWindow();
        break;
    default:
        break;
    }
    return QWidget::event(event);
}

void BookView::keyPressEvent(QKeyEvent *event)
{
    const std::optional<Book::Key> key = bookKey(event);
    if (key && m_book->handleKey(*key)) {
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void BookView::turnChanged()
{
    const bool turning = m_book->dir().has_value();
    if (turning && !m_turnShown) {
        beginTurnPictures();
    } else if (!turning && m_turnShown) {
        endTurnPictures();
        return;
    }
    if (turning)
        m_picture->setTurn(*m_book->dir(), m_book->progress());
}

void BookView::beginTurnPictures()
{
    // Both pages are drawn once, at the screen's density, and only moved
    // for the rest of the turn.
    m_turnShown = true;
    // The page becomes a picture: the focus must not wander off into
    // whatever widget comes next when its fields go.
    if (QWidget *focus = QApplication::focusWidget(); focus && m_stage->isAncestorOf(focus))
        setFocus(Qt::OtherFocusReason);
    m_stage->setTurning(true);
    const qreal ratio = devicePixelRatioF();
    const int from = m_stage->position();
    const int step = m_stage->step();
    const int to = m_book->jumpPosition().value_or(*m_book->dir() == Dir::Forward ? from + step : from - step);
    auto [currentBuffer, targetBuffer] = m_picture->takeBuffers();
    m_picture->setPictures(
        m_stage->picture(from, ratio, std::move(currentBuffer)), m_stage->picture(to, ratio, std::move(targetBuffer)));
    m_picture->setTurn(*m_book->dir(), m_book->progress());
    m_picture->show();
    m_picture->raise();
    if (m_overlay)
        m_overlay->raise();
    if (m_overlayMotion)
        m_overlayMotion->raise();
}

void BookView::endTurnPictures()
{
    m_turnShown = false;
    m_stage->setTurning(false);
    m_stage->sync();
    m_picture->hide();
    m_picture->clear();
    keepFocus();
}

void BookView::keepFocus()
{
    // Keys keep reaching the book when the page that held the focus went.
    QWidget *focus = QApplication::focusWidget();
    if (!isVisible() || (focus && (focus == this || isAncestorOf(focus))))
        return;
    if (!focus || focus->window() == window())
        setFocus(Qt::OtherFocusReason);
}

void BookView::contentsShownChanged()
{
    const bool show = m_book->showContents();
    delete m_overlayMotion;
    if (show) {
        if (m_overlay || !m_contentsFactory)
            return;
        QWidget *overlay = m_contentsFactory(*m_book, this);
        if (!overlay)
            return;
        m_overlay = overlay;
        overlay->setGeometry(rect());
        overlay->show();
        overlay->raise();
        if (!overlay->isAncestorOf(QApplication::focusWidget()))
            overlay->setFocus(Qt::OtherFocusReason);
        if (!isVisible())
            return;
        // The book alone plays the transition: it grows into place from a
        // picture of the overlay, taken now that it is laid out, while it
        // fades in; the live overlay stays invisible under it until the
        // motion ends.
        auto *picture = new FadingPicture(overlay->grab(), this);
        picture->setObjectName(QStringLiteral("contentsTransition"));
        auto *hidden = new QGraphicsOpacityEffect(overlay);
        hidden->setOpacity(0);
        overlay->setGraphicsEffect(hidden);
        picture->setGeometry(rect());
        picture->show();
        picture->raise();
        m_overlayMotion = picture;
        QPointer<QWidget> target(overlay);
        QVariantAnimation *motion = motion::spring(picture, ContentsSpring, 0.0, 1.0,
            [picture](const QVariant &value) { picture->setShown(value.toDouble()); });
        connect(motion, &QAbstractAnimation::finished, picture, [picture, target] {
            if (target)
                target->setGraphicsEffect(nullptr);
            picture->deleteLater();
        });
        return;
    }
    if (!m_overlay)
        return;
    QWidget *overlay = m_overlay;
    m_overlay = nullptr;
    const bool hadFocus = overlay->isAncestorOf(QApplication::focusWidget()) || overlay->hasFocus();
    if (isVisible() && overlay->isVisible()) {
        overlay->setGraphicsEffect(nullptr);
        auto *picture = new FadingPicture(overlay->grab(), this);
        picture->setObjectName(QStringLiteral("contentsTransition"));
        picture->setShown(1);
        picture->setGeometry(rect());
        picture->show();
        picture->raise();
        m_overlayMotion = picture;
        QVariantAnimation *motion = motion::spring(picture, ContentsSpring, 1.0, 0.0,
            [picture](const QVariant &value) { picture->setShown(value.toDouble()); });
        connect(motion, &QAbstractAnimation::finished, picture, &QObject::deleteLater);
    }
    overlay->hide();
    overlay->deleteLater();
    if (hadFocus)
        setFocus(Qt::OtherFocusReason);
}

void BookView::showDeniedAlert()
{
    AlarmStatus &status = m_services.alarms->status();
    if (!status.showDenied() || m_deniedAlert)
        return;
    auto *alert = new QMessageBox(this);
    alert->setObjectName(QStringLiteral("notificationsDeniedAlert"));
    alert->setWindowModality(Qt::WindowModal);
    alert->setIcon(QMessageBox::NoIcon);
    alert->setWindowTitle(tr("Notifications are off for Quillery"));
    alert->setText(tr("Notifications are off for Quillery"));
    alert->setInformativeText(tr("Alarms can't ring until you allow notifications for Quillery in Settings."));
    QPushButton *open = alert->addButton(tr("Open Settings"), QMessageBox::AcceptRole);
    QPushButton *later = alert->addButton(tr("Not now"), QMessageBox::RejectRole);
    alert->setDefaultButton(open);
    alert->setEscapeButton(later);
    m_deniedAlert = alert;
    connect(alert, &QMessageBox::finished, this, [this, alert, open] {
        const bool openSettings = alert->clickedButton() == open;
        m_deniedAlert = nullptr;
        alert->deleteLater();
        // However it was dismissed, the flag goes down with it.
        m_services.alarms->status().setShowDenied(false);
        if (openSettings)
            m_services.alarms->openNotificationSettings();
    });
    alert->open();
}

} // namespace quillery::ui
