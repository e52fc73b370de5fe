#include "TimeField.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTimer>

namespace quillery::ui {

TimeField::TimeField(QWidget *parent)
    : QTimeEdit(parent)
{
    lineEdit()->installEventFilter(this);
}

bool TimeField::isTwelveHour() const
{
    return displayFormat().contains(QLatin1String("ap"), Qt::CaseInsensitive);
}

std::optional<QTime> TimeField::readLoosely(const QString &text, bool twelveHour, const QTime &current)
{
    static const QRegularExpression pattern(
        QStringLiteral(R"(^\s*(\d{1,2})\s*[:.h]?\s*(\d{2})?\s*(?:([ap])\.?\s*(?:m\.?)?)?\s*$)"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    int hour = match.captured(1).toInt();
    const int minute = match.captured(2).isEmpty() ? 0 : match.captured(2).toInt();
    const QString half = match.captured(3).toLower();
    if (minute > 59)
        return std::nullopt;
    if (!half.isEmpty()) {
        if (hour < 1 || hour > 12)
            return std::nullopt;
        hour = hour % 12 + (half == QLatin1String("p") ? 12 : 0);
    } else if (twelveHour && hour >= 1 && hour <= 12) {
        hour = hour % 12 + (current.hour() >= 12 ? 12 : 0);
    }
    if (hour > 23)
        return std::nullopt;
    return QTime(hour, minute);
}

void TimeField::fixup(QString &input) const
{
    // Left half-typed: read what is there rather than fall back.
    if (const std::optional<QTime> read = readLoosely(input, isTwelveHour(), time()))
        input = locale().toString(*read, displayFormat());
    else
        QTimeEdit::fixup(input);
}

void TimeField::keyPressEvent(QKeyEvent *event)
{
    const QString typed = event->text().toLower();
    if (isTwelveHour() && (typed == QLatin1String("a") || typed == QLatin1String("p"))) {
        // The half of the day, set at once from whatever the hours and
        // minutes read now.
        QString text = lineEdit()->text();
        text.remove(QRegularExpression(QStringLiteral("[^0-9:.h ]")));
        if (const std::optional<QTime> read = readLoosely(text + typed, true, time())) {
            setTime(*read);
            setSelectedSection(AmPmSection);
        }
        event->accept();
        return;
    }
    if (isTwelveHour() && typed == QLatin1String("m") && currentSection() == AmPmSection) {
        event->accept(); // the rest of "am"/"pm": the marker is set already
        return;
    }
    const Section typedIn = currentSection();
    const bool digit = typed.size() == 1 && typed.front().isDigit();
    const bool advances = digit && (typedIn == HourSection || typedIn == MinuteSection);
    const Section next = typedIn == HourSection ? MinuteSection : AmPmSection;
    const QString before = lineEdit()->text();
    QTimeEdit::keyPressEvent(event);
    if (!advances || currentSection() != typedIn || !(displayedSections() & next))
        return;
    if (lineEdit()->text() == before && sectionText(typedIn).size() == 1) {
        // The digit does not fit this part ("25" hours): it starts the next.
        setSelectedSection(next);
        QTimeEdit::keyPressEvent(event);
        return;
    }
    // A part that no further digit can extend is done: typing goes on in
    // the next one ("252" is 2:52).
    const QString part = sectionText(typedIn);
    const int firstDigitLimit = typedIn == MinuteSection ? 6 : (isTwelveHour() ? 2 : 3);
    if (part.size() >= 2 || part.toInt() >= firstDigitLimit)
        setSelectedSection(next);
}

bool TimeField::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == lineEdit() && event->type() == QEvent::MouseButtonRelease) {
        // A plain click selects the part under the pointer, so typing
        // replaces it (a drag keeps the selection it made).
        QTimer::singleShot(0, this, [this] {
            if (hasFocus() && !lineEdit()->hasSelectedText())
                setSelectedSection(currentSection());
        });
    }
    return QTimeEdit::eventFilter(watched, event);
}

} // namespace quillery::ui
