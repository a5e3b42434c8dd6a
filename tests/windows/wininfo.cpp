// SPDX-License-Identifier: GPL-3.0-or-later
// Lists the visible top-level windows as Windows sees them, front to back, one line each:
//   <handle> topmost=<0|1> client=<w>x<h> at=<x>,<y> title=<title>
// "at" is the client area's top-left corner on the screen. Tests read it to find the game's
// windows, their order, size and place, the way the child's screen shows them.
//   wininfo wake <handle>
// asks the window for its UI Automation root, as a screen reader does when it starts.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <windows.h>

static BOOL CALLBACK list(HWND window, LPARAM unused)
{
    static_cast<void>(unused);
    if (!IsWindowVisible(window))
        return TRUE;
    wchar_t title[256] = L"";
    // Read from the window itself, without a message to its program, which may be busy.
    InternalGetWindowText(window, title, 256);
    RECT client;
    GetClientRect(window, &client);
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    const LONG_PTR exstyle = GetWindowLongPtrW(window, GWL_EXSTYLE);
    char utf8[1024];
    WideCharToMultiByte(CP_UTF8, 0, title, -1, utf8, sizeof utf8, nullptr, nullptr);
    printf("%p topmost=%d client=%ldx%ld at=%ld,%ld title=%s\n", static_cast<void *>(window),
           (exstyle & WS_EX_TOPMOST) ? 1 : 0, client.right - client.left,
           client.bottom - client.top, origin.x, origin.y, utf8);
    return TRUE;
}

int main(int argc, char **argv)
{
    if (argc == 3 && std::strcmp(argv[1], "wake") == 0) {
        const auto window = reinterpret_cast<HWND>(std::strtoull(argv[2], nullptr, 16));
        const LPARAM UiaRootObjectId = -25;
        DWORD_PTR answer = 0;
        const bool answered = SendMessageTimeoutW(window, WM_GETOBJECT, 0, UiaRootObjectId,
                                                  SMTO_ABORTIFHUNG, 10000, &answer);
        return answered ? 0 : 1;
    }
    // EnumWindows walks the z-order from the top.
    EnumWindows(list, 0);
    return 0;
}
