// SPDX-License-Identifier: GPL-3.0-or-later
#include "SetTopmost.h"

#include <QWidget>

#include <windows.h>

void SetTopmost(QWidget *form)
{
    if (!form)
        return;
    // winId() creates the native window if the form has none yet; the topmost band is a
    // property of that window and survives its first show.
    const auto window = reinterpret_cast<HWND>(form->winId());
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
}
