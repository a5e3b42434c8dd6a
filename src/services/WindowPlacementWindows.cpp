// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowPlacement.h"

#include <QGuiApplication>
#include <QWidget>

#include <windows.h>

void WindowPlacement::keepOnTop(QWidget *form)
{
    if (!form)
        return;
    // Qt is told as well, before the first show, so that it keeps the window in the band
    // whenever it updates the window's flags itself.
    if (!form->isVisible() && !form->windowFlags().testFlag(Qt::WindowStaysOnTopHint)) {
        const bool placed = form->testAttribute(Qt::WA_Moved);
        const QRect geometry = form->geometry();
        form->setWindowFlag(Qt::WindowStaysOnTopHint, true);
        // Changing a flag makes Qt take a set position for the frame's; put the window back.
        if (placed)
            form->setGeometry(geometry);
    }
    // Only the windows platform's window ids are window handles; another platform's (offscreen)
    // would name some other program's window, or none.
    if (QGuiApplication::platformName() != u"windows")
        return;
    // winId() creates the native window if the form has none yet; the topmost band is a
    // property of that window and survives its first show.
    const auto window = reinterpret_cast<HWND>(form->winId());
    DWORD owner = 0;
    if (!GetWindowThreadProcessId(window, &owner) || owner != GetCurrentProcessId())
        return;
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
}
