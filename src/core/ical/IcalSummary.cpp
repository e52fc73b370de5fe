#include "IcalSummary.h"

#include <QCoreApplication>
#include <QStringList>

namespace quillery {

QString countOf(int count, Noun noun)
{
    const bool one = count == 1;
    const char *context = "IcalSummary";
    QString words;
    switch (noun) {
    case Noun::Task:
        words
            = one ? QCoreApplication::translate(context, "%1 task") : QCoreApplication::translate(context, "%1 tasks");
        break;
    case Noun::Event:
        words = one ? QCoreApplication::translate(context, "%1 event")
                    : QCoreApplication::translate(context, "%1 events");
        break;
    case Noun::DamagedEntry:
        words = one ? QCoreApplication::translate(context, "%1 damaged entry")
                    : QCoreApplication::translate(context, "%1 damaged entries");
        break;
    case Noun::OtherEntry:
        words = one ? QCoreApplication::translate(context, "%1 other entry")
                    : QCoreApplication::translate(context, "%1 other entries");
        break;
    case Noun::Attachment:
        words = one ? QCoreApplication::translate(context, "%1 attachment")
                    : QCoreApplication::translate(context, "%1 attachments");
        break;
    }
    return words.arg(count);
}

QString importSummary(int tasks, int events, int others, int damaged)
{
    QString text = QCoreApplication::translate("IcalSummary", "Imported %1").arg(countOf(tasks, Noun::Task));
    QStringList skipped;
    if (events > 0)
        skipped << countOf(events, Noun::Event);
    if (others > 0)
        skipped << countOf(others, Noun::OtherEntry);
    if (damaged > 0)
        skipped << countOf(damaged, Noun::DamagedEntry);
    if (skipped.isEmpty())
        return text;
    const QString last = skipped.takeLast();
    const QString list = skipped.isEmpty()
        ? last
        : QCoreApplication::translate("IcalSummary", "%1 and %2").arg(skipped.join(QStringLiteral(", ")), last);
    return text + QCoreApplication::translate("IcalSummary", "; skipped %1").arg(list);
}

} // namespace quillery
