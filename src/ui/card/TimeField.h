#pragma once

#include <QTimeEdit>

#include <optional>

namespace quillery::ui {

// The reminder's time field: hours and minutes in the locale's clock. It
// takes typing the way desktop time fields do: a click, like Tab, selects
// the part under it so digits replace it; "a" or "p" sets the half of the
// day at once on a 12-hour clock; and a time typed loosely ("2:52 A",
// "1430", "7") is read when the field is left, instead of being thrown away.
class TimeField final : public QTimeEdit
{
    Q_OBJECT
public:
    explicit TimeField(QWidget *parent = nullptr);

    // Reads a loosely typed time: hours, optional minutes (with or without
    // a colon), and an optional a/p marker; without a marker on a 12-hour
    // clock the half of the day of `current` is kept. None when it is no
    // time at all.
    static std::optional<QTime> readLoosely(const QString &text, bool twelveHour, const QTime &current);

    void fixup(QString &input) const override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    bool isTwelveHour() const;
};

} // namespace quillery::ui
