#pragma once

#include "PlaceSuggestion.h"

#include <QList>
#include <QObject>

namespace quillery {

// Live completion of a typed fragment, one per open search. The newest
// fragment wins: an answer for an earlier one is never reported once a newer
// fragment was handed over, and answers always arrive later through the event
// loop, never from inside setQueryFragment().
class PlaceCompleter : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    // Starts completing `fragment`, dropping whatever was under way.
    virtual void setQueryFragment(const QString &fragment) = 0;

    // Drops whatever is under way; nothing is reported until the next
    // fragment.
    virtual void cancel() = 0;

Q_SIGNALS:
    // The suggestions for `fragment`, best first.
    void resultsUpdated(const QString &fragment, const QList<PlaceSuggestion> &results);

    // Completing `fragment` failed (network, server or answer at fault).
    void failed(const QString &fragment, const QString &reason);
};

} // namespace quillery
