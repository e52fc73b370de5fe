#pragma once

#include "Place.h"
#include "Record.h"
#include "StoredField.h"

#include <QList>
#include <QString>

#include <optional>

namespace quillery {

class Attachment;
class Page;
class Store;

// One task line: its text, done mark, place in the page's order, subtask
// level, due day, reminder, repeat rule, place, notes and attachments.
class TaskItem final : public Record
{
    Q_OBJECT
public:
    explicit TaskItem(const QString &text = QString(), double order = 0);
    explicit TaskItem(LoadTag tag)
        : Record(tag)
    { }
    ~TaskItem() override;

    Kind kind() const override { return Kind::Task; }
    // Every stored field, in the order of the columns.
    static std::span<const StoredField> fields();

    QString text() const { return m_text; }
    void setText(const QString &text);

    bool done() const { return m_done; }
    void setDone(bool done);

    double order() const { return m_order; }
    void setOrder(double order);

    std::optional<QDateTime> due() const { return toDateTime(m_due); }
    void setDue(const std::optional<QDateTime> &due);

    std::optional<QDateTime> alarm() const { return toDateTime(m_alarm); }
    void setAlarm(const std::optional<QDateTime> &alarm);

    QString notes() const { return m_notes; }
    void setNotes(const QString &notes);

    QString placeName() const { return m_placeName; }
    void setPlaceName(const QString &name);

    QString placeAddress() const { return m_placeAddress; }
    void setPlaceAddress(const QString &address);

    std::optional<double> latitude() const { return m_latitude; }
    void setLatitude(std::optional<double> latitude);

    std::optional<double> longitude() const { return m_longitude; }
    void setLongitude(std::optional<double> longitude);

    int indent() const { return m_indent; }
    void setIndent(int indent);

    // How the task repeats, as an iCalendar recurrence rule ("FREQ=WEEKLY"),
    // counted from its due day; empty when it does not.
    QString repeat() const { return m_repeat; }
    void setRepeat(const QString &rule);

    Page *page() const { return m_page; }
    // Moves the task to `page` (or to no page), keeping both pages' task lists
    // in step.
    void setPage(Page *page);

    // Every attachment of the task, in no particular order (see Page::tasks
    // for how removed records are listed).
    const QList<Attachment *> &attachments() const { return m_attachments; }
    // The live attachments, oldest first.
    QList<Attachment *> sortedAttachments() const;

    // The place, present only when both coordinates are set and the name is
    // not empty.
    std::optional<Place> place() const;
    // Writes the four place fields, each as its own change; none clears them.
    void setPlace(const std::optional<Place> &place);

Q_SIGNALS:
    void textChanged();
    void doneChanged();
    void orderChanged();
    void dueChanged();
    void alarmChanged();
    void notesChanged();
    void placeNameChanged();
    void placeAddressChanged();
    void latitudeChanged();
    void longitudeChanged();
    void indentChanged();
    void repeatChanged();
    void pageChanged();
    void attachmentsChanged();

private:
    friend class Page;
    friend class Store;
    friend class Attachment;
    void attachAttachment(Attachment *attachment);
    void detachAttachment(Attachment *attachment);
    static StoredField pageLink();

    QString m_text;
    bool m_done = false;
    double m_order = 0;
    std::optional<qint64> m_due;
    std::optional<qint64> m_alarm;
    QString m_notes;
    QString m_placeName;
    QString m_placeAddress;
    std::optional<double> m_latitude;
    std::optional<double> m_longitude;
    int m_indent = 0;
    QString m_repeat;
    Page *m_page = nullptr;
    QList<Attachment *> m_attachments;
};

// Appends a task at the end of `page`: its order is the largest order on the
// page plus 1 (1 on a page without tasks; removed tasks not yet processed
// still count), then it is inserted into `store` with `indent` and `page`.
TaskItem *addTask(const QString &text, int indent, Page *page, Store &store);

} // namespace quillery
