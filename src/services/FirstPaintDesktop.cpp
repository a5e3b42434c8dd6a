// SPDX-License-Identifier: GPL-3.0-or-later
#include "FirstPaint.h"

// A desktop shows the window as soon as it is drawn, with nothing in its place before.
void FirstPaint::notifyWhenPainted(QWidget *form)
{
    static_cast<void>(form);
}
