#pragma once

#include <QList>
#include <QString>

#include <functional>
#include <optional>

namespace quillery {

class Page;

// Direction of a page turn; forward goes to higher page indices.
enum class Dir { Forward, Backward };

// What the current drag on the book face is doing.
enum class DragMode { Undecided, Flipping, Ignored };

// The navigation rules of the book as plain functions of the sorted page list,
// the remembered current page id and whether two facing pages are shown.
namespace BookRules {

inline constexpr int PaletteSize = 7;

// The index of the page whose id text is `currentID`, 0 when none matches,
// clamped to the list.
int currentIndex(const QList<Page *> &pages, const QString &currentID);

// The left page of the spread holding `index`.
int leftIndex(int index);

// The colour that follows the last page's colour, 0 for an empty book.
int nextColorIndex(const QList<Page *> &pages);

bool canTurn(Dir dir, const QList<Page *> &pages, const QString &currentID, bool spreadMode);

// The page indices on screen: the spread {left, left + 1}, or the current page.
QList<int> visibleIndices(const QList<Page *> &pages, const QString &currentID, bool spreadMode);

// The key that restarts the spread preparation when it changes.
QString spreadKey(const QList<Page *> &pages, const QString &currentID, bool spreadMode);

} // namespace BookRules
} // namespace quillery
