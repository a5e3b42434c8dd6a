// SPDX-License-Identifier: GPL-3.0-or-later
#include "Announce.h"

#include <QAccessible>
#include <QWidget>

void Announce(QWidget *widget, const QString &text)
{
    static_cast<void>(text); // read from the widget's name
    // Orca speaks a notification as it is shown; a label's changed text it ignores.
    QAccessibleEvent shown(widget, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&shown);
}

void FollowFocus(QWidget *form)
{
    static_cast<void>(form); // the screen reader follows the focus itself
}
