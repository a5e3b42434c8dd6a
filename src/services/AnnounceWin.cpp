// SPDX-License-Identifier: GPL-3.0-or-later
#include "Announce.h"

#include <QAccessible>
#include <QWidget>

void Announce(QWidget *widget, const QString &text)
{
    // Qt's UI Automation bridge drops a shown notification; a value change carrying a string it
    // raises as a UI Automation notification, which Narrator and NVDA speak.
    QAccessibleValueChangeEvent changed(widget, text);
    QAccessible::updateAccessibility(&changed);
}

void FollowFocus(QWidget *form)
{
    static_cast<void>(form); // the screen reader follows the focus itself
}
