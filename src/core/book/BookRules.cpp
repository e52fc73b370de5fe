#include "BookRules.h"

#include "core/model/Page.h"
#include "core/model/TaskItem.h"
#include "core/pages/PageTasks.h"
#include "core/util/Uuid.h"

#include <algorithm>

namespace quillery::BookRules {

int currentIndex(const QList<Page *> &pages, const QString &currentID)
{
    // The id is read once and compared as a value: formatting the id of
    // every page would cost more than the rest of a page turn.
    int index = 0;
    const QUuid wanted = uuidFromString(currentID);
    if (!wanted.isNull() && uuidString(wanted) == currentID) {
        for (int i = 0; i < pages.size(); ++i) {
            if (pages.at(i)->id() == wanted) {
                index = i;
                break;
            }
        }
    }
    return std::clamp(index, 0, std::max<int>(int(pages.size()) - 1, 0));
}

int leftIndex(int index)
{
    return index - index % 2;
}

int nextColorIndex(const QList<Page *> &pages)
{
    if (pages.isEmpty())
        return 0;
    const int last = pages.last()->colorIndex();
    return ((last + 1) % PaletteSize + PaletteSize) % PaletteSize;
}

bool canTurn(Dir dir, const QList<Page *> &pages, const QString &currentID, bool spreadMode)
{
    const int count = int(pages.size());
    const int current = currentIndex(pages, currentID);
    if (!spreadMode) {
        if (dir == Dir::Backward)
            return current >= 1;
        if (current < count - 1)
            return true;
        return count > 0 && !quillery::isBlank(*pages.last());
    }
    const int left = leftIndex(current);
    if (dir == Dir::Backward)
        return left >= 2;
    if (left + 2 < count)
        return true;
    return left + 1 < count && !quillery::isBlank(*pages.at(left + 1));
}

QList<int> visibleIndices(const QList<Page *> &pages, const QString &currentID, bool spreadMode)
{
    const int current = currentIndex(pages, currentID);
    if (spreadMode) {
        const int left = leftIndex(current);
        return { left, left + 1 };
    }
    return { current };
}

QString spreadKey(const QList<Page *> &pages, const QString &currentID, bool spreadMode)
{
    const int left = leftIndex(currentIndex(pages, currentID));
    const bool rightBlank = left + 1 >= pages.size() || quillery::isBlank(*pages.at(left + 1));
    return QStringLiteral("%1-%2-%3-%4")
        .arg(spreadMode ? QStringLiteral("true") : QStringLiteral("false"))
        .arg(left)
        .arg(pages.size())
        .arg(rightBlank ? QStringLiteral("true") : QStringLiteral("false"));
}

} // namespace quillery::BookRules
