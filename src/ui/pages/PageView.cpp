#include "PageView.h"

#include "AddTaskRow.h"
#include "PageColorPicker.h"
#include "PageFooter.h"
#include "PageHeader.h"
#include "PageNumberBlock.h"
#include "PageOptionsMenu.h"
#include "PageScrollArea.h"
#include "TaskListView.h"
#include "core/app/Preferences.h"
#include "core/model/Editing.h"
#include "core/model/Page.h"
#include "core/model/Store.h"
#include "core/model/TaskItem.h"
#include "core/pages/PageTasks.h"
#include "gui/theme/AppFont.h"
#include "gui/theme/Appearance.h"
#include "gui/theme/PageShape.h"
#include "gui/theme/PaletteColor.h"
#include "gui/theme/ThemeColors.h"
#include "ui/tasks/TaskRow.h"
#include "ui/theme/Motion.h"
#include "ui/theme/PagePalette.h"
#include "ui/theme/PaperBackground.h"
#include "ui/theme/SymbolButton.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <QVariantAnimation>

#include <cmath>

namespace quillery::ui {

namespace {

// Paddings of the page, in points, before the book's insets are added.
constexpr double HeaderLeading = 28;
constexpr double HeaderTrailing = 76;
constexpr double HeaderTop = 18;
constexpr double HeaderBottom = 12;
constexpr double StackSpacing = 8;
constexpr double ListLeading = 28;
constexpr double ListTrailing = 20;
constexpr double FooterSide = 16;
constexpr double FooterBottom = 10;
constexpr double PickerTop = 25;
constexpr double PickerTrailing = 21;

constexpr int AddScrollDelay = 300; // ms after adding starts
const Spring ColorSpring { 0.5, 1.0 };

// Swallows a click anywhere on the page while the swatches are open, and
// closes them.
class DismissLayer final : public QWidget
{
public:
    DismissLayer(QWidget *parent, std::function<void()> dismiss)
        : QWidget(parent)
        , m_dismiss(std::move(dismiss))
    { }

protected:
    void mousePressEvent(QMouseEvent *event) override
    {
        event->accept();
        m_dismiss();
    }

private:
    std::function<void()> m_dismiss;
};

int px(double value)
{
    return static_cast<int>(std::lround(value));
}

} // namespace

PageView::PageView(
    Page *page, int number, int count, PageActions actions, const Services &services, Editing *editing, QWidget *parent)
    : QWidget(parent)
    , m_page(page)
    , m_number(number)
    , m_count(count)
    , m_actions(std::move(actions))
    , m_services(services)
    , m_editing(editing)
    , m_colorIndex(page ? page->colorIndex() : 0)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::ClickFocus);
    setObjectName(QStringLiteral("pageView"));

    m_header = new PageHeader(page, *m_services.appearance, this);
    m_list = new TaskListView(page, services, nullptr);
    m_scroll = new PageScrollArea(m_list, this);
    m_footer = new PageFooter(*m_services.appearance, this);
    m_menu = new PageOptionsMenu(services, this);
    m_menu->setPage(page);
    m_dismissLayer = new DismissLayer(this, [this] { setColorsShown(false); });
    m_dismissLayer->hide();
    m_picker = new PageColorPicker(*m_services.appearance, this);
    m_footer->setNumbers(number, count);

    connect(m_list, &TaskListView::openRequested, this, &PageView::taskOpenRequested);
    connect(m_list, &TaskListView::rowFramesChanged, this, &PageView::rowFramesChanged);
    connect(m_list, &TaskListView::liftedChanged, this, &PageView::liftedChanged);
    connect(m_list, &TaskListView::rowMovedByKey, this, &PageView::keepRowInSight);
    m_list->setTabPredecessor(m_header->titleField());
    connect(m_list->addRow(), &AddTaskRow::addRequested, this, &PageView::addRequested);
    connect(m_list->addRow(), &AddTaskRow::focusChanged, this, &PageView::addFocusChanged);

    connect(m_footer, &PageFooter::previousClicked, this, [this] { runAction(&PageActions::prev); });
    connect(m_footer, &PageFooter::nextClicked, this, [this] { runAction(&PageActions::next); });
    connect(m_footer, &PageFooter::contentsClicked, this, [this] { runAction(&PageActions::contents); });
    connect(m_footer, &PageFooter::optionsClicked, this, &PageView::showOptionsMenu);
    connect(m_menu, &PageOptionsMenu::contentsRequested, this, [this] { runAction(&PageActions::contents); });
    connect(m_menu, &PageOptionsMenu::tearOutRequested, this, &PageView::requestTearOut);

    connect(m_picker, &PageColorPicker::colorPicked, this, [this](int index) {
        if (Page *shown = this->page())
            shown->setColorIndex(index);
    });
    connect(m_picker, &PageColorPicker::openChanged, this, [this](bool open) {
        m_dismissLayer->setVisible(open);
        if (open) {
            m_dismissLayer->raise();
            m_picker->raise();
        }
    });

    if (page) {
        connect(page->notifier(), &PageNotifier::colorIndexChanged, this, [this] {
            if (Page *shown = this->page()) {
                m_colorIndex = shown->colorIndex();
                applyColors(!m_snapshot && isVisible());
            }
        });
    }
    if (m_services.store) {
        connect(m_services.store, &Store::recordRemoved, this, [this](Record *record) {
            if (record == m_page.data())
                pageGone();
        });
    }
    if (m_services.preferences)
        connect(m_services.preferences, &Preferences::typefaceChanged, this, &PageView::applyTypeface);
    if (m_editing) {
        m_list->setKeptTask(m_editing->openTask());
        connect(m_editing, &Editing::openTaskChanged, this, [this] { m_list->setKeptTask(m_editing->openTask()); });
        connect(m_editing, &Editing::addingChanged, this, [this] {
            if (!m_editing || !m_editing->adding())
                return;
            // Once the book has made room for typing, bring the add line up.
            QTimer::singleShot(
                AddScrollDelay, this, [this] { m_scroll->scrollToBottom(m_list->addRowFrame().bottom() + 1); });
        });
    }
    connect(m_services.appearance, &Appearance::schemeChanged, this, [this] {
        applyColors(false);
        update();
    });

    applyTypeface();
    applyColors(false);
    if (!page || page->isDeleted())
        pageGone();
}

PageView::~PageView()
{
    if (m_confirm)
        m_confirm->disconnect(this);
    // A page closed mid-drag must not leave the book thinking a row is
    // still lifted.
    m_list->disconnect(this);
    if (m_list->isLifted() && m_editing)
        m_editing->setLifted(false);
}

Page *PageView::page() const
{
    Page *page = m_page.data();
    return page && !page->isDeleted() ? page : nullptr;
}

AddTaskRow *PageView::addRow() const
{
    return m_list->addRow();
}

QList<TaskRow *> PageView::rows() const
{
    return m_list->rows();
}

const RowFrames &PageView::rowFrames() const
{
    return m_list->rowFrames();
}

void PageView::setNumbers(int number, int count)
{
    m_number = number;
    m_count = count;
    m_footer->setNumbers(number, count);
}

void PageView::setActions(PageActions actions)
{
    m_actions = std::move(actions);
}

void PageView::setSnapshot(bool snapshot)
{
    if (m_snapshot == snapshot)
        return;
    m_snapshot = snapshot;
    m_header->setSnapshot(snapshot);
    m_list->setSnapshot(snapshot);
    if (snapshot) {
        setColorsShown(false);
        if (m_colorMotion)
            m_colorMotion->stop();
        applyColors(false);
    }
    // A picture takes no input.
    setAttribute(Qt::WA_TransparentForMouseEvents, snapshot);
    update();
}

void PageView::setSide(PageSide side)
{
    if (m_side == side)
        return;
    m_side = side;
    m_footer->setSide(side);
    update();
}

void PageView::setInsets(const PageInsets &insets)
{
    if (m_insets == insets)
        return;
    m_insets = insets;
    layoutParts();
}

bool PageView::colorsShown() const
{
    return m_picker->isOpen();
}

void PageView::setColorsShown(bool shown)
{
    if (shown && (m_snapshot || !page()))
        return;
    m_picker->setOpen(shown, !m_snapshot && isVisible());
}

void PageView::setScrollLocked(bool locked)
{
    m_scroll->setScrollLocked(locked);
}

bool PageView::isLifted() const
{
    return m_list->isLifted();
}

void PageView::liftedChanged(bool lifted)
{
    setScrollLocked(lifted);
    if (m_editing)
        m_editing->setLifted(lifted);
}

void PageView::keepRowInSight(TaskRow *row)
{
    // The row's frame is where it is going, not where it is drawn mid-way.
    const auto frame = m_list->rowFrames().frame(row->taskId());
    if (!frame)
        return;
    const int margin = static_cast<int>(std::lround(frame->height() / 2));
    m_scroll->ensureVisible(static_cast<int>(std::lround(frame->center().x())),
        static_cast<int>(std::lround(frame->center().y())), 0, margin);
}

void PageView::applyTypeface()
{
    const QString typeface = m_services.preferences ? m_services.preferences->typeface() : Preferences::Sans;
    m_header->setTitleFont(appFont(34, QFont::Bold, typeface));
    m_list->addRow()->setFieldFont(appFont(18, QFont::Normal, typeface));
    layoutParts();
}

void PageView::applyColors(bool animated)
{
    const ColorScheme scheme = m_services.appearance->scheme();
    const QColor tint = paperTint(m_colorIndex, scheme);
    const QColor accent = paletteColor(m_colorIndex);
    setPalette(pagePalette(QWidget::palette(), m_colorIndex, scheme));
    m_list->setAccent(accent);
    if (m_colorMotion)
        m_colorMotion->stop();
    if (!animated || !m_tint.isValid()) {
        setDrawnColors(tint, accent);
        return;
    }
    // Tint and accent travel together; one progress value drives both.
    const QColor fromTint = m_tint;
    const QColor fromAccent = m_accent;
    const auto mix = [](const QColor &a, const QColor &b, double t) {
        t = std::clamp(t, 0.0, 1.0);
        return QColor::fromRgbF(a.redF() + (b.redF() - a.redF()) * t, a.greenF() + (b.greenF() - a.greenF()) * t,
            a.blueF() + (b.blueF() - a.blueF()) * t, a.alphaF() + (b.alphaF() - a.alphaF()) * t);
    };
    QPointer<PageView> self(this);
    m_colorMotion = motion::spring(this, ColorSpring, 0.0, 1.0, [=](const QVariant &value) {
        if (!self)
            return;
        const double t = value.toDouble();
        self->setDrawnColors(mix(fromTint, tint, t), mix(fromAccent, accent, t));
    });
}

void PageView::setDrawnColors(const QColor &tint, const QColor &accent)
{
    m_tint = tint;
    m_accent = accent;
    m_header->setAccent(accent);
    m_list->addRow()->setAccent(accent);
    m_picker->setButtonColor(accent);
    update();
}

void PageView::pageGone()
{
    if (m_page)
        disconnect(m_page->notifier(), nullptr, this, nullptr);
    m_page = nullptr;
    m_header->detachPage();
    m_list->detachPage();
    m_picker->setOpen(false, false);
    m_picker->setEnabled(false);
    m_menu->close();
    if (m_confirm) {
        // Confirming now would tear out whatever page took this one's place.
        QMessageBox *confirm = m_confirm;
        m_confirm = nullptr;
        confirm->disconnect(this);
        confirm->close();
        confirm->deleteLater();
    }
    Q_EMIT pageRemoved();
}

void PageView::addRequested(const QString &text, int indent)
{
    Page *page = this->page();
    if (!page || !m_services.store)
        return;
    addTask(text, indent, page, *m_services.store);
    m_list->refreshNow();
    // Typing goes on under the new row: keep the line in sight where it is
    // going, not where the list's motion has it now.
    m_scroll->revealBottom(m_list->addRowFrame().bottom() + 1);
}

void PageView::addFocusChanged(bool focused)
{
    if (!m_editing)
        return;
    if (focused) {
        m_editing->setAdding(true);
        if (Page *page = this->page())
            m_editing->setFocusedPage(page);
    } else {
        m_editing->setAdding(false);
    }
}

void PageView::showOptionsMenu()
{
    if (m_snapshot)
        return;
    m_menu->rebuild();
    SymbolButton *button = m_footer->optionsButton();
    const QSize size = m_menu->sizeHint();
    // Open upwards from the button: the footer is at the bottom of the page.
    m_menu->popup(button->mapToGlobal(QPoint(button->width() / 2 - size.width() / 2, -size.height())));
}

void PageView::runAction(std::function<void()> PageActions::*action)
{
    if (m_snapshot)
        return;
    std::function<void()> callback = m_actions.*action;
    if (!callback)
        return;
    // After the click has been handled: the book may replace this view.
    QMetaObject::invokeMethod(
        this, [callback] { callback(); }, Qt::QueuedConnection);
}

void PageView::requestTearOut()
{
    Page *page = this->page();
    if (!page || m_snapshot)
        return;
    if (isBlank(*page)) {
        tearOutConfirmed();
        return;
    }
    if (m_confirm)
        return;
    auto *confirm = new QMessageBox(this);
    confirm->setObjectName(QStringLiteral("tearOutConfirmation"));
    confirm->setWindowModality(Qt::WindowModal);
    confirm->setIcon(QMessageBox::NoIcon);
    confirm->setWindowTitle(tr("Tear Out Page"));
    confirm->setText(tr("Tear out this page and everything on it?"));
    QPushButton *tear = confirm->addButton(tr("Tear Out"), QMessageBox::DestructiveRole);
    // What cannot be undone reads in the alert colour.
    QPalette destructive = tear->palette();
    destructive.setColor(QPalette::ButtonText, alertColor(m_services.appearance->scheme()));
    tear->setPalette(destructive);
    confirm->addButton(QMessageBox::Cancel);
    confirm->setDefaultButton(QMessageBox::Cancel);
    m_confirm = confirm;
    connect(confirm, &QMessageBox::finished, this, [this, confirm, tear] {
        const bool confirmed = confirm->clickedButton() == tear;
        m_confirm = nullptr;
        confirm->deleteLater();
        if (confirmed)
            tearOutConfirmed();
    });
    confirm->open();
}

void PageView::tearOutConfirmed()
{
    std::function<void()> tearOut = m_actions.tearOut;
    if (!tearOut)
        return;
    QPointer<PageView> self(this);
    // After the dialog or menu is done with its click; and only if the page
    // is still there then (it may have been removed meanwhile).
    QMetaObject::invokeMethod(
        this,
        [self, tearOut] {
            if (self && self->page())
                tearOut();
        },
        Qt::QueuedConnection);
}

void PageView::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && colorsShown()) {
        setColorsShown(false);
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void PageView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutParts();
}

void PageView::layoutParts()
{
    const bool rtl = layoutDirection() == Qt::RightToLeft;
    const double width = this->width();
    const double height = this->height();
    const auto rect = [&](double leading, double top, double w, double h) {
        const double x = rtl ? width - leading - w : leading;
        return QRect(px(x), px(top), std::max(0, px(w)), std::max(0, px(h)));
    };

    const double headerLeading = m_insets.leading + HeaderLeading;
    const double headerWidth = width - headerLeading - (m_insets.trailing + HeaderTrailing);
    const double headerTop = m_insets.top + HeaderTop;
    const double headerHeight = m_header->heightForWidth(std::max(0, px(headerWidth)));
    m_header->setGeometry(rect(headerLeading, headerTop, headerWidth, headerHeight));

    const double footerTop = height - m_insets.bottom - FooterBottom - PageFooter::Height;
    const double footerLeading = m_insets.leading + FooterSide;
    m_footer->setGeometry(
        rect(footerLeading, footerTop, width - footerLeading - (m_insets.trailing + FooterSide), PageFooter::Height));

    const double listTop = headerTop + headerHeight + HeaderBottom + StackSpacing;
    const double listBottom = footerTop - StackSpacing;
    m_list->setMargins(m_insets.leading + ListLeading, m_insets.trailing + ListTrailing);
    m_scroll->setGeometry(rect(0, listTop, width, std::max(0.0, listBottom - listTop)));

    // The colour column is 40 points wide; the picker widget adds room for
    // the card's shadow on both sides.
    const double pickerLeading
        = width - (m_insets.trailing + PickerTrailing) - PageColorPicker::ColumnWidth - PageColorPicker::columnLeft();
    m_picker->move(rect(pickerLeading, m_insets.top + PickerTop, m_picker->width(), 0).topLeft());
    m_dismissLayer->setGeometry(this->rect());
    m_picker->raise();
}

void PageView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const ColorScheme scheme = m_services.appearance->scheme();
    // Outside the page's shape lies the desk.
    painter.fillRect(rect(), themeColor(ThemeColor::Desk, scheme));
    painter.setClipPath(pageShape(m_side, rect()));
    PaperBackground::paintSheet(painter, rect(), m_tint, scheme);
}

} // namespace quillery::ui
