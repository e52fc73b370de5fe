#pragma once

#include <QAccessibleActionInterface>
#include <QAccessibleWidget>
#include <QPointer>

namespace quillery::ui {

class ContentsGrid;

// Makes the contents grid a list whose children are its cells, so a screen
// reader can walk every page (not only the ones on screen), hear which page is
// current and press a cell like a button.
void installContentsAccessibility();

class ContentsGridAccessible final : public QAccessibleWidget
{
public:
    explicit ContentsGridAccessible(ContentsGrid *grid);

    int childCount() const override;
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
    QAccessibleInterface *childAt(int x, int y) const override;
    QAccessibleInterface *focusChild() const override;

private:
    ContentsGrid *grid() const;
};

// One cell of the grid: a page, or "New page".
class ContentsCellAccessible final : public QAccessibleInterface, public QAccessibleActionInterface
{
public:
    ContentsCellAccessible(ContentsGrid *grid, int index);

    bool isValid() const override;
    QObject *object() const override { return nullptr; }
    QWindow *window() const override;
    QAccessibleInterface *parent() const override;
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QAccessibleInterface *focusChild() const override { return nullptr; }
    QString text(QAccessible::Text type) const override;
    void setText(QAccessible::Text, const QString &) override { }
    QRect rect() const override;
    QAccessible::Role role() const override { return QAccessible::Button; }
    QAccessible::State state() const override;
    void *interface_cast(QAccessible::InterfaceType type) override;

    QStringList actionNames() const override;
    void doAction(const QString &actionName) override;
    QStringList keyBindingsForAction(const QString &) const override { return {}; }

    int index() const { return m_index; }

private:
    QPointer<ContentsGrid> m_grid;
    int m_index;
};

} // namespace quillery::ui
