// SPDX-License-Identifier: GPL-3.0-or-later
// A stand-in for Windows' UI Automation core, for tests under Wine, whose own neither reports a
// listening client nor raises notifications. It says a client listens and appends what the
// program raises, one line each, to the file named by VORTANI_UIA_LOG:
//   notification <text>     (UiaRaiseNotificationEvent)
//   event <id>              (UiaRaiseAutomationEvent; 20005 is a focus change)
// The rest of what Qt loads from the library does nothing.
#include "StandInLog.h"

namespace {
void logLine(const char *kind, const wchar_t *text)
{
    appendStandInLine(L"VORTANI_UIA_LOG", kind, text);
}
} // namespace

extern "C" {
__declspec(dllexport) BOOL WINAPI UiaClientsAreListening()
{
    return TRUE;
}

__declspec(dllexport) LRESULT WINAPI UiaReturnRawElementProvider(HWND, WPARAM, LPARAM, void *)
{
    return 0;
}

__declspec(dllexport) HRESULT WINAPI UiaHostProviderFromHwnd(HWND, void **provider)
{
    if (provider)
        *provider = nullptr;
    return E_NOTIMPL;
}

__declspec(dllexport) HRESULT WINAPI
    UiaRaiseAutomationPropertyChangedEvent(void *, int, VARIANT, VARIANT)
{
    return S_OK;
}

__declspec(dllexport) HRESULT WINAPI UiaRaiseAutomationEvent(void *, int id)
{
    wchar_t number[16];
    swprintf(number, 16, L"%d", id);
    logLine("event", number);
    return S_OK;
}

__declspec(dllexport) HRESULT WINAPI UiaRaiseNotificationEvent(void *, int, int, BSTR text, BSTR)
{
    logLine("notification", text);
    return S_OK;
}
}
