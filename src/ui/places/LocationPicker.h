#pragma once

#include "core/model/Place.h"
#include "core/places/LocationSearch.h"

#include <QDialog>
#include <QList>

#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;
class QScrollArea;
class QVBoxLayout;

namespace quillery {
class PlaceService;
}

namespace quillery::ui {

class BusyIndicator;
class SuggestionRow;

// The sheet in which the user finds a place for a task: a search field, the
// live suggestions, the current place with "Remove location", and "Cancel".
// Picking a suggestion resolves it into a place and reports it through
// picked() (the task card's onPick); "Remove location" reports no place; Cancel
// reports nothing. The picker never writes to the book itself.
//
// Shown window-modal over its parent's window with open(). One picker serves
// one presentation: it starts with an empty query and no suggestions.
class LocationPicker final : public QDialog
{
    Q_OBJECT
public:
    static constexpr int MinimumWidth = 420;
    static constexpr int MinimumHeight = 460;

    LocationPicker(std::optional<Place> current, PlaceService &service, QWidget *parent = nullptr);
    ~LocationPicker() override;

    const std::optional<Place> &current() const { return m_current; }
    QString query() const;
    bool isResolving() const { return m_resolving; }
    LocationSearch &search() const { return *m_search; }
    QLineEdit *searchField() const { return m_field; }
    // The suggestion rows now listed, in order.
    QList<SuggestionRow *> rows() const { return m_rows; }

    // Picks a listed suggestion, as clicking its row does.
    void pick(const PlaceSuggestion &suggestion);

    void done(int result) override;

Q_SIGNALS:
    // A place was chosen, or (no place) "Remove location" was pressed.
    void picked(const std::optional<quillery::Place> &place);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    enum class Body { Empty, Current, NothingFound, Suggestions };

    void buildHeader(QVBoxLayout *layout);
    QWidget *buildCurrentSection();
    void queryChanged(const QString &text);
    void refreshBody();
    void setResolving(bool resolving);
    void focusRow(int index);
    void removeLocation();

    std::optional<Place> m_current;
    LocationSearch *m_search;
    QLineEdit *m_field = nullptr;
    QScrollArea *m_scroll = nullptr;
    QWidget *m_body = nullptr;
    QVBoxLayout *m_bodyLayout = nullptr;
    QWidget *m_overlay = nullptr;
    BusyIndicator *m_spinner = nullptr;
    QList<SuggestionRow *> m_rows;
    std::optional<Body> m_shown;
    QList<PlaceSuggestion> m_shownResults;
    bool m_resolving = false;
    quint64 m_resolveToken = 0;
};

} // namespace quillery::ui
