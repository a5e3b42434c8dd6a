// SPDX-License-Identifier: GPL-3.0-or-later
#include "Announcer.h"

#include <QAccessible>
#include <QWidget>

void Announcer::announce(QWidget *widget, const QString &text)
{
    // Qt's UI Automation bridge drops a shown notification; a value change carrying a string it
    // raises as a UI Automation notification, which Narrator and NVDA speak.
    QAccessibleValueChangeEvent changed(widget, text);
    QAccessible::updateAccessibility(&changed);
}
