#pragma once

#include "core/app/Services.h"
#include "core/model/Place.h"
#include "core/model/RecordPointer.h"

#include <QColor>
#include <QPointer>
#include <QWidget>

#include <optional>

class QLabel;

namespace quillery {
class TaskItem;
}

namespace quillery::ui {

class LocationPicker;
class MapPreview;
class Pill;
class PlainButton;

// The body of the card's "Place" section. Without a place: the "Add a
// place" pill. With one: its name and address, "Change" and "Remove", and a
// still map of it that opens the place in the browser. "Add a place" and
// "Change" open the place picker; what it reports is written to the task and
// followed by a call to the alarm service. "Remove" clears the place and
// schedules nothing.
class PlaceSection final : public QWidget
{
    Q_OBJECT
public:
    PlaceSection(TaskItem *task, const Services &services, QWidget *parent = nullptr);
    ~PlaceSection() override;

    void setAccent(const QColor &accent);

    // Reads the task's place again.
    void refresh();

    // Opens the place picker over the card's window (as "Add a place" and
    // "Change" do); the picker is open while picker() is not null.
    void openPicker();
    LocationPicker *picker() const;

    Pill *addButton() const { return m_add; }
    QWidget *placeView() const { return m_placeView; }
    QLabel *nameLabel() const { return m_name; }
    QLabel *addressLabel() const { return m_address; }
    PlainButton *changeButton() const { return m_change; }
    PlainButton *removeButton() const { return m_remove; }
    MapPreview *mapPreview() const { return m_map; }

private:
    TaskItem *task() const;
    void take(const std::optional<Place> &place);
    void remove();
    void restyle();

    RecordPointer<TaskItem> m_task;
    Services m_services;
    QColor m_accent;
    Pill *m_add = nullptr;
    QWidget *m_placeView = nullptr;
    QLabel *m_name = nullptr;
    QLabel *m_address = nullptr;
    PlainButton *m_change = nullptr;
    PlainButton *m_remove = nullptr;
    MapPreview *m_map = nullptr;
    QPointer<LocationPicker> m_picker;
};

} // namespace quillery::ui
