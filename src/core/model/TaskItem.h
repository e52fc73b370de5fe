#pragma once

#include "Place.h"
#include "Record.h"
#include "StoredField.h"

#include <QList>
#include <QString>

#include <memory>
#include <optional>

namespace quillery {

class Attachment;
class Page;
class Store;

// One task line: its text, done mark, place in the page's order, subtask
// level, due day, reminder, repeat rule, place, notes and attachments.
class TaskItem final : public Record
{
public:
    explicit TaskItem(const QString &text = QString(), double order = 0);
    explicit TaskItem(LoadTag tag)
        : Record(tag)
    { }
    ~TaskItem() override;

    static constexpr Kind kindOf = Kind::Task;
    Kind kind() const override { return kindOf; }
    TaskNotifier *notifier() const { return static_cast<TaskNotifier *>(Record::notifier()); }
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

    std::optional<QDateTime> alarm() const { return toDateTime(m_extra ? m_extra->alarm : std::nullopt); }
    void setAlarm(const std::optional<QDateTime> &alarm);

    QString notes() const { return m_extra ? m_extra->notes : QString(); }
    void setNotes(const QString &notes);

    QString placeName() const { return m_extra ? m_extra->placeName : QString(); }
    void setPlaceName(const QString &name);

    QString placeAddress() const { return m_extra ? m_extra->placeAddress : QString(); }
    void setPlaceAddress(const QString &address);

    std::optional<double> latitude() const { return m_extra ? m_extra->latitude : std::nullopt; }
    void setLatitude(std::optional<double> latitude);

    std::optional<double> longitude() const { return m_extra ? m_extra->longitude : std::nullopt; }
    void setLongitude(std::optional<double> longitude);

    int indent() const { return m_indent; }
    void setIndent(int indent);

    // How the task repeats, as an iCalendar recurrence rule ("FREQ=WEEKLY"),
    // counted from its due day; empty when it does not.
    QString repeat() const { return m_extra ? m_extra->repeat : QString(); }
    void setRepeat(const QString &rule);

    Page *page() const { return m_page; }
    // Moves the task to `page` (or to no page), keeping both pages' task lists
    // in step.
    void setPage(Page *page);

    // Every attachment of the task, in no particular order (see Page::tasks
    // for how removed records are listed).
    const QList<Attachment *> &attachments() const;
    // The live attachments, oldest first.
    QList<Attachment *> sortedAttachments() const;

    // The place, present only when both coordinates are set and the name is
    // not empty.
    std::optional<Place> place() const;
    // Writes the four place fields, each as its own change; none clears them.
    void setPlace(const std::optional<Place> &place);

private:
    std::unique_ptr<RecordNotifier> makeNotifier() const override { return std::make_unique<TaskNotifier>(); }

    friend class Page;
    friend class Store;
    friend class Attachment;

    // The fields most tasks leave empty, kept apart and made only when one
    // of them is first set: a book holds a million tasks.
    struct Extra {
        std::optional<qint64> alarm;
        QString notes;
        QString placeName;
        QString placeAddress;
        std::optional<double> latitude;
        std::optional<double> longitude;
        QString repeat;
        QList<Attachment *> attachments;
    };
    Extra &extra();
    // A field kept in Extra, set through `Setter`.
    template <auto Member, auto Setter>
    static StoredField extraField(Field field, const char *name, const char *column);
    // Assigns `value` to a field kept in Extra; a default value makes no Extra.
    template <typename T, typename Signal>
    void assignExtra(T Extra::*member, const T &value, Field field, Signal signal);

    void attachAttachment(Attachment *attachment);
    void detachAttachment(Attachment *attachment);
    static StoredField pageLink();

    // After the record's flags: these fill the bytes the record leaves.
    bool m_done = false;
    int m_indent = 0;
    QString m_text;
    double m_order = 0;
    std::optional<qint64> m_due;
    Page *m_page = nullptr;
    std::unique_ptr<Extra> m_extra;
};

// Appends a task at the end of `page`: its order is the largest order on the
// page plus 1 (1 on a page without tasks; removed tasks not yet processed
// still count), then it is inserted into `store` with `indent` and `page`.
TaskItem *addTask(const QString &text, int indent, Page *page, Store &store);

} // namespace quillery
