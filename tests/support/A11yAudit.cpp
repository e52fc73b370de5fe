#include "A11yAudit.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextEdit>
#include <QWidgetAction>

namespace quillery::test {

namespace {

bool hasInteractiveRole(const QWidget *widget)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(const_cast<QWidget *>(widget));
    if (!iface)
        return false;
    switch (iface->role()) {
    case QAccessible::PushButton:
    case QAccessible::CheckBox:
    case QAccessible::RadioButton:
    case QAccessible::ComboBox:
    case QAccessible::EditableText:
    case QAccessible::Slider:
    case QAccessible::SpinBox:
    case QAccessible::Dial:
    case QAccessible::Link:
    case QAccessible::ButtonMenu:
    case QAccessible::ButtonDropDown:
    case QAccessible::ButtonDropGrid:
    case QAccessible::MenuItem:
    case QAccessible::PageTab:
        return true;
    default:
        return false;
    }
}

// A widget Qt builds inside a control and presents through it.
bool isPartOfControl(const QWidget *widget)
{
    const QWidget *parent = widget->parentWidget();
    if (parent && (qobject_cast<const QAbstractSpinBox *>(parent) || qobject_cast<const QComboBox *>(parent)))
        return true;
    for (const QWidget *p = parent; p; p = p->parentWidget()) {
        if (p->focusProxy() == widget)
            return true;
    }
    return false;
}

// Shown, or shown once the root is: hidden only when it or a parent below the
// root was hidden on purpose. The root itself is audited whether shown or not.
bool visibleUnder(const QWidget *widget, const QWidget *root)
{
    for (const QWidget *w = widget; w && w != root; w = w->parentWidget()) {
        if (w->isHidden() && w->testAttribute(Qt::WA_WState_ExplicitShowHide))
            return false;
    }
    return true;
}

void collect(const QWidget *widget, const QWidget *root, QList<QWidget *> &found)
{
    if (!visibleUnder(widget, root))
        return;
    if (isInteractiveControl(widget))
        found.append(const_cast<QWidget *>(widget));
    for (QObject *child : widget->children()) {
        if (auto *childWidget = qobject_cast<QWidget *>(child); childWidget && !childWidget->isWindow())
            collect(childWidget, root, found);
    }
}

QString itemPath(const QMenu *menu, const QAction *action)
{
    QStringList path;
    for (const QMenu *m = menu; m; m = qobject_cast<const QMenu *>(m->parentWidget()))
        path.prepend(m->title().isEmpty() ? m->objectName() : m->title());
    path.append(action->objectName().isEmpty() ? QStringLiteral("(item %1)").arg(menu->actions().indexOf(action))
                                               : action->objectName());
    return path.join(QStringLiteral(" > "));
}

} // namespace

bool isInteractiveControl(const QWidget *widget)
{
    if (qobject_cast<const QScrollBar *>(widget) || isPartOfControl(widget))
        return false;
    // A scroll area takes focus to scroll with the keyboard; it is a
    // container of controls, not one itself (text edits are handled above).
    if (qobject_cast<const QAbstractScrollArea *>(widget) && !qobject_cast<const QTextEdit *>(widget)
        && !qobject_cast<const QPlainTextEdit *>(widget))
        return false;
    if (qobject_cast<const QAbstractButton *>(widget) || qobject_cast<const QLineEdit *>(widget)
        || qobject_cast<const QTextEdit *>(widget) || qobject_cast<const QPlainTextEdit *>(widget)
        || qobject_cast<const QComboBox *>(widget) || qobject_cast<const QAbstractSlider *>(widget)
        || qobject_cast<const QAbstractSpinBox *>(widget))
        return true;
    // Keyboard focus makes a custom widget a control: the user lands on it
    // with Tab and hears its name.
    if (widget->focusPolicy() & Qt::TabFocus)
        return true;
    return hasInteractiveRole(widget);
}

QString accessibleName(const QWidget *widget)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(const_cast<QWidget *>(widget));
    return iface ? iface->text(QAccessible::Name) : QString();
}

QList<QWidget *> visibleControls(const QWidget *root)
{
    QList<QWidget *> found;
    if (root)
        collect(root, root, found);
    return found;
}

QList<QWidget *> unlabelledControls(const QWidget *root)
{
    QList<QWidget *> found = visibleControls(root);
    found.removeIf([](const QWidget *widget) { return !accessibleName(widget).trimmed().isEmpty(); });
    return found;
}

QStringList unlabelledMenuItems(const QMenu *menu)
{
    QStringList found;
    for (QAction *action : menu->actions()) {
        if (action->isSeparator() || !action->isVisible())
            continue;
        if (auto *widgetAction = qobject_cast<QWidgetAction *>(action)) {
            if (QWidget *widget = widgetAction->defaultWidget()) {
                for (QWidget *control : unlabelledControls(widget))
                    found.append(itemPath(menu, action) + QStringLiteral(": ") + describeControl(control, widget));
                continue;
            }
        }
        if (action->text().remove(u'&').trimmed().isEmpty() && action->iconText().trimmed().isEmpty())
            found.append(itemPath(menu, action));
        if (action->menu())
            found.append(unlabelledMenuItems(action->menu()));
    }
    return found;
}

QString describeControl(const QWidget *widget, const QWidget *root)
{
    auto name = [](const QWidget *w) {
        const QString className = QString::fromLatin1(w->metaObject()->className()).section(u':', -1);
        return w->objectName().isEmpty() ? className : QStringLiteral("%1 \"%2\"").arg(className, w->objectName());
    };
    QStringList parents;
    if (widget != root) {
        for (const QWidget *p = widget->parentWidget(); p; p = p->parentWidget()) {
            parents.prepend(name(p));
            if (p == root)
                break;
        }
    }
    QString text = name(widget);
    if (!parents.isEmpty())
        text += QStringLiteral(" in ") + parents.join(QStringLiteral(" > "));
    return text;
}

QString describeControls(const QList<QWidget *> &widgets, const QWidget *root)
{
    QStringList lines;
    for (const QWidget *widget : widgets)
        lines.append(QStringLiteral("  ") + describeControl(widget, root));
    return lines.join(u'\n');
}

::testing::AssertionResult everyControlNamed(const QWidget &root)
{
    const QList<QWidget *> unlabelled = unlabelledControls(&root);
    if (unlabelled.isEmpty())
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << unlabelled.size() << " controls without an accessible name:\n"
                                         << describeControls(unlabelled, &root).toStdString();
}

} // namespace quillery::test
