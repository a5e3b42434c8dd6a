// SPDX-License-Identifier: GPL-3.0-or-later
// A stand-in for Windows' UI Automation core, for tests under Wine, whose own neither reports a
// listening client nor raises notifications. It says a client listens and appends what the
// program raises, one line each, to the file named by VORTANI_UIA_LOG:
//   notification <text>     (UiaRaiseNotificationEvent)
//   event <id>              (UiaRaiseAutomationEvent; 20005 is a focus change)
// The rest of what Qt loads from the library does nothing.
#include <cstdio>
#include <windows.h>

namespace {
void logLine(const char *kind, const wchar_t *text)
{
    wchar_t path[MAX_PATH];
    if (!GetEnvironmentVariableW(L"VORTANI_UIA_LOG", path, MAX_PATH))
        return;
    char utf8[4096] = "";
    if (text)
        WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof utf8, nullptr, nullptr);
    // Opened per line, so that a test reads each line as soon as it is raised.
    if (FILE *f = _wfopen(path, L"ab")) {
        std::fprintf(f, "%s %s\n", kind, utf8);
        std::fclose(f);
    }
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
