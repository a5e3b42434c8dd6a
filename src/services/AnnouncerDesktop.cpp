// SPDX-License-Identifier: GPL-3.0-or-later
#include "Announcer.h"

// Orca, Narrator and NVDA see the controls themselves and follow the focus on their own.
void Announcer::followFocus(QWidget *form)
{
    static_cast<void>(form);
}
