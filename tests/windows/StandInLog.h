// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <windows.h>

#include <cstdio>

// What a stand-in library was asked, one line "<kind> <text>" each, appended to the file the
// environment variable names; nothing when it names none.
inline void appendStandInLine(const wchar_t *variable, const char *kind, const wchar_t *text)
{
    wchar_t path[MAX_PATH];
    if (!GetEnvironmentVariableW(variable, path, MAX_PATH))
        return;
    char utf8[4096] = "";
    if (text)
        WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof utf8, nullptr, nullptr);
    // Opened per line, so that a test reads each line as soon as it is written.
    if (FILE *f = _wfopen(path, L"ab")) {
        std::fprintf(f, "%s %s\n", kind, utf8);
        std::fclose(f);
    }
}
