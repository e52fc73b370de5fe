#pragma once

// An accessibility audit for widget tests: finds the controls a screen reader
// would announce without a name.

#include <QList>
#include <QStringList>
#include <gtest/gtest.h>

class QMenu;
class QWidget;

namespace quillery::test {

// Whether a user can operate the widget: buttons, fields, check boxes, combo
// boxes, sliders, spin boxes, and any other widget that takes keyboard focus
// or that the accessibility layer presents as a control. Scroll areas hold
// controls but are none; scroll bars and the parts Qt builds inside a control
// (the field of a spin box, a focus proxy) are not controls of their own.
bool isInteractiveControl(const QWidget *widget);

// The accessible name assistive technology reads for the widget.
QString accessibleName(const QWidget *widget);

// Every control in the tree under `root` (root included) that is visible:
// shown, or would be once root is. Windows of their own are left out.
// Disabled controls count: screen readers announce them too.
QList<QWidget *> visibleControls(const QWidget *root);

// The visible controls that have no accessible name.
QList<QWidget *> unlabelledControls(const QWidget *root);

// Every item of a menu and its submenus that shows no text: separators
// aside, such an item reads as nothing. Widget items are audited as widgets.
QStringList unlabelledMenuItems(const QMenu *menu);

// "QToolButton \"addButton\" in PageView > PageFooter": how a failure names
// a control, with its class, object name and the chain of its parents.
QString describeControl(const QWidget *widget, const QWidget *root = nullptr);

// One line per control, ready for a failure message.
QString describeControls(const QList<QWidget *> &widgets, const QWidget *root = nullptr);

// Succeeds when every visible control under `root` has an accessible name;
// the failure lists the ones without.
::testing::AssertionResult everyControlNamed(const QWidget &root);

} // namespace quillery::test
