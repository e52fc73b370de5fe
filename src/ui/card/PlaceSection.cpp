#include "PlaceSection.h"

#include "CardStyle.h"
#include "PlainButton.h"
#include "core/alarms/AlarmService.h"
#include "core/model/TaskItem.h"
#include "gui/theme/Appearance.h"
#include "ui/places/LocationPicker.h"
#include "ui/places/MapPreview.h"
#include "ui/tasks/Pill.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace quillery::ui {

namespace {

bool isPlaceField(Field field)
{
    return field == Field::PlaceName || field == Field::PlaceAddress || field == Field::Latitude
        || field == Field::Longitude;
}

} // namespace

PlaceSection::PlaceSection(TaskItem *task, const Services &services, QWidget *parent)
    : QWidget(parent)
    , m_task(task)
    , m_services(services)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    m_add = new Pill(tr("Add a place"), *m_services.appearance, this);
    m_add->setObjectName(QStringLiteral("addPlacePill"));
    m_add->setSymbol(QStringLiteral("mappin.and.ellipse"));
    // Without a place service there is nothing to search.
    m_add->setEnabled(services.places.search != nullptr);
    connect(m_add, &QAbstractButton::clicked, this, &PlaceSection::openPicker);
    layout->addWidget(m_add, 0, Qt::AlignLeft);

    m_placeView = new QWidget(this);
    m_placeView->setObjectName(QStringLiteral("placeView"));
    auto *stack = new QVBoxLayout(m_placeView);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(10);

    auto *row = new QHBoxLayout;
    row->setSpacing(12);
    auto *texts = new QVBoxLayout;
    texts->setSpacing(2);
    m_name = CardStyle::label(QString(), CardStyle::font(18, QFont::DemiBold), QColor(), m_placeView);
    m_name->setObjectName(QStringLiteral("placeName"));
    m_name->setWordWrap(true);
    m_address = CardStyle::label(QString(), CardStyle::font(14), QColor(), m_placeView);
    m_address->setObjectName(QStringLiteral("placeAddress"));
    m_address->setWordWrap(true);
    texts->addWidget(m_name);
    texts->addWidget(m_address);
    row->addLayout(texts, 1);
    m_change = new PlainButton(tr("Change"), CardStyle::font(15), QColor(), m_placeView);
    m_change->setObjectName(QStringLiteral("changePlaceButton"));
    m_change->setEnabled(services.places.search != nullptr);
    connect(m_change, &QAbstractButton::clicked, this, &PlaceSection::openPicker);
    m_remove = new PlainButton(tr("Remove"), CardStyle::font(15), QColor(), m_placeView);
    m_remove->setObjectName(QStringLiteral("removePlaceButton"));
    connect(m_remove, &QAbstractButton::clicked, this, &PlaceSection::remove);
    row->addWidget(m_change, 0, Qt::AlignTop);
    row->addWidget(m_remove, 0, Qt::AlignTop);
    stack->addLayout(row);

    m_map = new MapPreview(services.places.tiles, m_placeView);
    m_map->setObjectName(QStringLiteral("mapPreview"));
    m_map->setFixedHeight(MapPreview::PreviewHeight);
    stack->addWidget(m_map);
    layout->addWidget(m_placeView);

    if (task) {
        connect(task->notifier(), &RecordNotifier::changed, this, [this](Field field) {
            if (isPlaceField(field))
                refresh();
        });
    }
    connect(m_services.appearance, &Appearance::schemeChanged, this, &PlaceSection::restyle);
    restyle();
    refresh();
}

PlaceSection::~PlaceSection() = default;

LocationPicker *PlaceSection::picker() const
{
    return m_picker.data();
}

TaskItem *PlaceSection::task() const
{
    TaskItem *task = m_task.data();
    return task && !task->isDeleted() ? task : nullptr;
}

void PlaceSection::setAccent(const QColor &accent)
{
    if (m_accent == accent)
        return;
    m_accent = accent;
    restyle();
}

void PlaceSection::restyle()
{
    const ColorScheme scheme = m_services.appearance->scheme();
    m_add->setAccent(m_accent);
    m_change->setColor(m_accent);
    m_remove->setColor(CardStyle::muted(scheme));
    CardStyle::setTextColor(m_name, CardStyle::ink(scheme));
    CardStyle::setTextColor(m_address, CardStyle::muted(scheme));
}

void PlaceSection::refresh()
{
    TaskItem *task = this->task();
    if (!task)
        return;
    const std::optional<Place> place = task->place();
    if (place) {
        m_name->setText(place->name);
        m_address->setText(place->address);
        m_address->setVisible(!place->address.isEmpty());
        m_map->setPlace(place);
    } else {
        // Keep keyboard focus in the card when the focused button goes.
        QWidget *focus = QApplication::focusWidget();
        if (m_placeView->isVisible() && focus && m_placeView->isAncestorOf(focus))
            m_add->setFocus(Qt::OtherFocusReason);
        m_map->setPlace(std::nullopt);
    }
    m_placeView->setVisible(place.has_value());
    m_add->setVisible(!place.has_value());
}

void PlaceSection::openPicker()
{
    if (!task() || !m_services.places.search)
        return;
    if (m_picker) {
        m_picker->raise();
        m_picker->activateWindow();
        return;
    }
    auto *picker = new LocationPicker(task()->place(), *m_services.places.search, this);
    picker->setAttribute(Qt::WA_DeleteOnClose);
    connect(picker, &LocationPicker::picked, this, &PlaceSection::take);
    m_picker = picker;
    picker->open();
}

void PlaceSection::take(const std::optional<Place> &place)
{
    TaskItem *task = this->task();
    if (!task)
        return;
    task->setPlace(place);
    if (m_services.alarms)
        m_services.alarms->schedule(task);
}

void PlaceSection::remove()
{
    TaskItem *task = this->task();
    if (!task)
        return;
    task->setPlace(std::nullopt);
}

} // namespace quillery::ui
