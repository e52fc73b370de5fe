#include "LocationPicker.h"

#include "BusyIndicator.h"
#include "InsetGroup.h"
#include "PlacesStyle.h"
#include "SuggestionRow.h"
#include "ui/theme/Symbols.h"

#include <QAction>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

namespace quillery::ui {

namespace {

QLabel *textLabel(const QString &text, const QFont &font, const QColor &color, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText); // place texts come from outside
    label->setText(text);
    label->setFont(font);
    label->setWordWrap(true);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, color);
    label->setPalette(palette);
    return label;
}

// A push button that looks like text: "Cancel" and "Remove location".
QPushButton *textButton(const QString &text, const QColor &color, QWidget *parent)
{
    auto *button = new QPushButton(text, parent);
    button->setFlat(true);
    button->setAutoDefault(false);
    button->setDefault(false);
    button->setCursor(Qt::PointingHandCursor);
    QPalette palette = button->palette();
    palette.setColor(QPalette::ButtonText, color);
    button->setPalette(palette);
    return button;
}

} // namespace

LocationPicker::LocationPicker(std::optional<Place> current, PlaceService &service, QWidget *parent)
    : QDialog(parent)
    , m_current(std::move(current))
    , m_search(new LocationSearch(service, this))
{
    setObjectName(QStringLiteral("locationPicker"));
    setWindowTitle(tr("Location"));
    setWindowModality(Qt::WindowModal);
    setMinimumSize(MinimumWidth, MinimumHeight);
    resize(MinimumWidth + 20, 540);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    buildHeader(layout);

    // The list, with the progress indicator laid over it while resolving.
    auto *stack = new QWidget(this);
    auto *stackLayout = new QGridLayout(stack);
    stackLayout->setContentsMargins(0, 0, 0, 0);
    m_scroll = new QScrollArea(stack);
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setWidgetResizable(true);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_body = new QWidget;
    m_body->setObjectName(QStringLiteral("pickerBody"));
    m_bodyLayout = new QVBoxLayout(m_body);
    m_bodyLayout->setContentsMargins(16, 8, 16, 16);
    m_bodyLayout->setSpacing(6);
    m_scroll->setWidget(m_body);
    m_overlay = new QWidget(stack);
    m_overlay->setObjectName(QStringLiteral("resolvingOverlay"));
    m_overlay->setAutoFillBackground(true);
    QPalette veil = m_overlay->palette();
    QColor shade = palette().color(QPalette::Window);
    shade.setAlphaF(0.6);
    veil.setColor(QPalette::Window, shade);
    m_overlay->setPalette(veil);
    auto *overlayLayout = new QVBoxLayout(m_overlay);
    m_spinner = new BusyIndicator(m_overlay);
    overlayLayout->addWidget(m_spinner, 0, Qt::AlignCenter);
    m_overlay->hide();
    stackLayout->addWidget(m_scroll, 0, 0);
    stackLayout->addWidget(m_overlay, 0, 0);
    layout->addWidget(stack, 1);

    connect(m_field, &QLineEdit::textChanged, this, &LocationPicker::queryChanged);
    connect(m_search, &LocationSearch::resultsChanged, this, &LocationPicker::refreshBody);
    refreshBody();
    m_field->setFocus();
}

LocationPicker::~LocationPicker() = default;

void LocationPicker::buildHeader(QVBoxLayout *layout)
{
    auto *header = new QWidget(this);
    auto *grid = new QGridLayout(header);
    grid->setContentsMargins(12, 10, 12, 6);
    auto *cancel = textButton(tr("Cancel"), PlacesStyle::accent(palette()), header);
    cancel->setObjectName(QStringLiteral("cancelButton"));
    cancel->setFont(PlacesStyle::font(15));
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto *title = textLabel(
        tr("Location"), PlacesStyle::font(17, QFont::DemiBold), palette().color(QPalette::WindowText), header);
    title->setWordWrap(false);
    title->setAlignment(Qt::AlignCenter);
    // The title sits in the middle whatever the width of "Cancel".
    grid->addWidget(cancel, 0, 0, Qt::AlignLeft);
    grid->addWidget(title, 0, 1, Qt::AlignCenter);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(2, 1);

    m_field = new QLineEdit(header);
    m_field->setObjectName(QStringLiteral("searchField"));
    m_field->setPlaceholderText(tr("Search for a place or address"));
    // The prompt is only a description to assistive technology: the field
    // needs a name of its own, and so do the buttons inside it.
    m_field->setAccessibleName(tr("Search for a place or address"));
    m_field->setClearButtonEnabled(true);
    if (auto *clear = m_field->findChild<QAction *>(QStringLiteral("_q_qlineeditclearaction")))
        clear->setText(tr("Clear"));
    m_field->setFont(PlacesStyle::font(15));
    m_field->setMinimumHeight(34);
    QAction *searchSymbol
        = m_field->addAction(Symbols::icon(QStringLiteral("system-search-symbolic"), PlacesStyle::secondary(palette())),
            QLineEdit::LeadingPosition);
    searchSymbol->setText(tr("Search"));
    m_field->installEventFilter(this);
    grid->addWidget(m_field, 1, 0, 1, 3);
    grid->setVerticalSpacing(10);
    layout->addWidget(header);
}

QString LocationPicker::query() const
{
    return m_field->text();
}

void LocationPicker::queryChanged(const QString &text)
{
    m_search->update(text);
    refreshBody();
}

QWidget *LocationPicker::buildCurrentSection()
{
    auto *section = new QWidget(m_body);
    section->setObjectName(QStringLiteral("currentSection"));
    auto *layout = new QVBoxLayout(section);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);
    auto *heading
        = textLabel(tr("Current"), PlacesStyle::font(13, QFont::DemiBold), PlacesStyle::secondary(palette()), section);
    heading->setContentsMargins(16, 8, 0, 0);
    layout->addWidget(heading);

    auto *group = new InsetGroup(section);
    auto *place = new QWidget(group);
    auto *placeLayout = new QVBoxLayout(place);
    placeLayout->setContentsMargins(16, 10, 16, 10);
    placeLayout->setSpacing(2);
    auto *name
        = textLabel(m_current->name, PlacesStyle::font(16, QFont::DemiBold), palette().color(QPalette::Text), place);
    name->setObjectName(QStringLiteral("currentName"));
    placeLayout->addWidget(name);
    if (!m_current->address.isEmpty()) {
        auto *address = textLabel(m_current->address, PlacesStyle::font(13), PlacesStyle::secondary(palette()), place);
        address->setObjectName(QStringLiteral("currentAddress"));
        placeLayout->addWidget(address);
    }
    group->addRow(place);

    auto *remove = textButton(tr("Remove location"), PlacesStyle::destructive(palette()), group);
    remove->setObjectName(QStringLiteral("removeLocationButton"));
    remove->setFont(PlacesStyle::font(16));
    // Left-aligned like a list row; only this button is styled.
    remove->setStyleSheet(QStringLiteral("QPushButton { text-align: left; padding: 11px 16px; border: none;"
                                         " background: transparent; color: %1; }"
                                         "QPushButton:hover { background: rgba(127, 127, 127, 0.08); }")
                              .arg(PlacesStyle::destructive(palette()).name()));
    connect(remove, &QPushButton::clicked, this, &LocationPicker::removeLocation);
    group->addRow(remove);
    layout->addWidget(group);
    return section;
}

void LocationPicker::refreshBody()
{
    Body body = Body::Empty;
    if (m_current && query().isEmpty())
        body = Body::Current;
    else if (m_search->results().isEmpty() && !query().isEmpty())
        body = Body::NothingFound;
    else if (!m_search->results().isEmpty())
        body = Body::Suggestions;
    if (m_shown == body && (body != Body::Suggestions || m_shownResults == m_search->results()))
        return;
    m_shown = body;
    m_shownResults = m_search->results();

    const bool rowHadFocus = m_body->isAncestorOf(focusWidget());
    m_rows.clear();
    while (QLayoutItem *item = m_bodyLayout->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    if (rowHadFocus)
        m_field->setFocus();

    switch (body) {
    case Body::Empty:
        break;
    case Body::Current:
        m_bodyLayout->addWidget(buildCurrentSection());
        break;
    case Body::NothingFound: {
        auto *label
            = textLabel(tr("No places found"), PlacesStyle::font(15), PlacesStyle::secondary(palette()), m_body);
        label->setObjectName(QStringLiteral("noPlacesLabel"));
        label->setAlignment(Qt::AlignCenter);
        label->setContentsMargins(0, 24, 0, 0);
        m_bodyLayout->addWidget(label);
        break;
    }
    case Body::Suggestions: {
        auto *group = new InsetGroup(m_body);
        group->setObjectName(QStringLiteral("suggestions"));
        group->setSeparatorIndent(SuggestionRow::TextIndent);
        for (const PlaceSuggestion &suggestion : m_shownResults) {
            auto *row = new SuggestionRow(suggestion, group);
            connect(row, &QAbstractButton::clicked, this, [this, suggestion] { pick(suggestion); });
            connect(row, &SuggestionRow::moveRequested, this,
                [this, row](int step) { focusRow(int(m_rows.indexOf(row)) + step); });
            group->addRow(row);
            m_rows.append(row);
        }
        m_bodyLayout->addWidget(group);
        break;
    }
    }
    m_bodyLayout->addStretch(1);
    // Shown now rather than on the layout's next pass, so the sheet's state
    // is whole as soon as this returns.
    for (int i = 0; i < m_bodyLayout->count(); ++i) {
        if (QWidget *widget = m_bodyLayout->itemAt(i)->widget())
            widget->show();
    }
}

void LocationPicker::focusRow(int index)
{
    if (index < 0) {
        m_field->setFocus();
        return;
    }
    if (index < m_rows.size()) {
        m_rows.at(index)->setFocus();
        m_scroll->ensureWidgetVisible(m_rows.at(index));
    }
}

bool LocationPicker::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_field && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Down && !m_rows.isEmpty()) {
            focusRow(0);
            return true;
        }
        // Return in the field must not press a button of the dialog.
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

void LocationPicker::pick(const PlaceSuggestion &suggestion)
{
    if (m_resolving)
        return; // one resolution at a time
    setResolving(true);
    const quint64 token = ++m_resolveToken;
    m_search->resolve(suggestion, [this, token](const LocationSearch::Resolution &resolution) {
        if (token != m_resolveToken)
            return; // the sheet was closed meanwhile: nothing more to report
        setResolving(false);
        if (resolution.place) {
            Q_EMIT picked(resolution.place);
            accept();
        }
        // A failure or an empty answer leaves the sheet as it was.
    });
}

void LocationPicker::removeLocation()
{
    Q_EMIT picked(std::nullopt);
    accept();
}

void LocationPicker::done(int result)
{
    // Closing abandons a resolution under way: Cancel must report nothing,
    // even if the answer comes in after it.
    ++m_resolveToken;
    setResolving(false);
    QDialog::done(result);
}

void LocationPicker::setResolving(bool resolving)
{
    if (m_resolving == resolving)
        return;
    m_resolving = resolving;
    m_overlay->setVisible(resolving);
    if (resolving)
        m_overlay->raise();
}

} // namespace quillery::ui
