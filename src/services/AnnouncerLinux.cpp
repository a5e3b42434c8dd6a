// SPDX-License-Identifier: GPL-3.0-or-later
#include "Announcer.h"

#include <QAccessible>
#include <QWidget>

void Announcer::announce(QWidget *widget, const QString &text)
{
    static_cast<void>(text); // read from the widget's name
    // Orca speaks a notification as it is shown; a label's changed text it ignores.
    QAccessibleEvent shown(widget, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&shown);
}
