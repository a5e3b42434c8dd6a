// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowPlacement.h"

#include <QWidget>

void WindowPlacement::keepOnTop(QWidget *form)
{
    if (!form)
        return;
    const bool wasVisible = form->isVisible();
    const bool placed = form->testAttribute(Qt::WA_Moved);
    const QRect geometry = form->geometry();
    form->setWindowFlag(Qt::WindowStaysOnTopHint, true);
    // Changing the flag makes Qt take a set position for the frame's; put the window back.
    if (placed && !wasVisible)
        form->setGeometry(geometry);
    // Setting a flag on a shown window hides it; put it back where it was, unactivated.
    if (wasVisible) {
        form->setGeometry(geometry);
        form->setAttribute(Qt::WA_ShowWithoutActivating, true);
        form->show();
        form->setAttribute(Qt::WA_ShowWithoutActivating, false);
    }
}
