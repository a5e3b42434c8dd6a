// SPDX-License-Identifier: GPL-3.0-or-later
#include "GrownUpNotice.h"

#include "GameTexts.h"

#include <windows.h>

#include <cstdio>

namespace {
// Started from a shortcut, a windowed program has no standard streams; started from a console
// or with its output redirected (an installer's check, a script), it has.
bool canWrite(DWORD stream)
{
    const HANDLE handle = GetStdHandle(stream);
    return handle && handle != INVALID_HANDLE_VALUE && GetFileType(handle) != FILE_TYPE_UNKNOWN;
}

void write(DWORD stream, const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    DWORD written = 0;
    WriteFile(GetStdHandle(stream), bytes.constData(), DWORD(bytes.size()), &written, nullptr);
}
} // namespace

int GrownUpNotice::answer(const CommandLine::Request &request)
{
    const bool refused = request.kind == CommandLine::Kind::Refuse;
    const DWORD stream = refused ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE;
    const QString text =
        refused
            ? QStringLiteral("vortani: %1\nvortani --help elenca le opzioni.\n").arg(request.text)
            : request.text;
    if (canWrite(stream))
        write(stream, text);
    else if (!text.isEmpty())
        MessageBoxW(nullptr, reinterpret_cast<LPCWSTR>(text.utf16()),
                    reinterpret_cast<LPCWSTR>(GameTexts::WindowTitle.utf16()),
                    MB_OK | (refused ? MB_ICONWARNING : MB_ICONINFORMATION) | MB_SETFOREGROUND);
    return refused ? CommandLine::RefusedStatus : 0;
}
