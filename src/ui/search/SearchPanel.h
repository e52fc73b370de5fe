#pragma once

#include <QMetaObject>
#include <QPointer>
#include <QWidget>

class QAction;
class QLabel;
class QLineEdit;
class QListView;

namespace quillery {
class Page;
class SearchIndex;
class TaskItem;
} // namespace quillery

namespace quillery::ui {

class BookView;
class MainWindow;
class SearchResultsModel;

// Search over the whole book, laid over the book view: a field at the top
// of the page and, as the user types, the matching tasks grouped by page
// below it. Up and Down move through the results, Return (or a click)
// turns to the result's page with the book's own turn and then asks for the
// task's card; Escape, or a click beside the card, closes the search and
// gives the keyboard back to whoever had it.
class SearchPanel final : public QWidget
{
    Q_OBJECT
public:
    // The most tasks listed at once; the rest are counted.
    static constexpr int ShownTasks = 300;

    SearchPanel(BookView &book, SearchIndex &index, QWidget *parent = nullptr);
    ~SearchPanel() override;

    // Makes the panel for `window`'s book with its "Search" action (Ctrl+F)
    // in the window and at the front of the toolbar.
    static SearchPanel *install(MainWindow &window, SearchIndex &index);

    QAction *action() const { return m_action; }
    QLineEdit *field() const { return m_field; }
    QListView *list() const { return m_list; }
    const SearchResultsModel &results() const { return *m_model; }
    QRect cardRect() const;

    void open();
    // Closes the search; with `restoreFocus` the keyboard goes back to
    // where it was when the search opened.
    void close(bool restoreFocus = true);

Q_SIGNALS:
    // A task was chosen and its page is now shown: open its card.
    void taskChosen(quillery::TaskItem *task);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void runQuery();
    void moveSelection(int step);
    void choose(int row);
    void layoutCard();
    void applyScheme();

    BookView &m_book;
    SearchIndex &m_index;
    QAction *m_action;
    QLineEdit *m_field;
    QListView *m_list;
    QLabel *m_empty;
    SearchResultsModel *m_model;
    QPointer<QWidget> m_focusBefore;
    QMetaObject::Connection m_afterTurn;
};

} // namespace quillery::ui
