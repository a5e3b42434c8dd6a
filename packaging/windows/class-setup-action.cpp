// SPDX-License-Identifier: GPL-3.0-or-later
// The MSI's custom actions for a class's set-up, given as public properties (OPERAZIONI=...).
// No Qt here: the installer loads this DLL on its own, from its Binary table.
//   ArgumentsFromProperties  immediate: the properties named in VORTANI_SETUP_KEYS, as the
//                            program's options, into VORTANI_ARGUMENTS (the shortcut's
//                            arguments)
//   CheckArguments           deferred, once the files are in place: runs the command line in
//                            CustomActionData (the installed program with --verifica and those
//                            arguments); on a refusal the program's own message goes to the
//                            installer and the install fails, so that it is rolled back
#include <windows.h>

#include <msi.h>
#include <msiquery.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {
std::wstring property(MSIHANDLE install, const wchar_t *name)
{
    DWORD size = 0;
    wchar_t empty[1] = L"";
    if (MsiGetPropertyW(install, name, empty, &size) != ERROR_MORE_DATA)
        return {};
    std::vector<wchar_t> value(++size);
    if (MsiGetPropertyW(install, name, value.data(), &size) != ERROR_SUCCESS)
        return {};
    return {value.data(), size};
}

void tell(MSIHANDLE install, INSTALLMESSAGE kind, const std::wstring &text)
{
    // The text goes in a field, not the template, where brackets would be read as properties.
    const MSIHANDLE record = MsiCreateRecord(1);
    MsiRecordSetStringW(record, 0, L"[1]");
    MsiRecordSetStringW(record, 1, text.c_str());
    MsiProcessMessage(install, kind, record);
    MsiCloseHandle(record);
}

// One argument as CommandLineToArgvW, and so the program, reads it back: quoted only when it
// has to be, so that the usual set-up reads as typed.
std::wstring quoted(const std::wstring &argument)
{
    if (!argument.empty() && argument.find_first_of(L" \t\"") == std::wstring::npos)
        return argument;
    std::wstring out = L"\"";
    std::size_t backslashes = 0;
    for (const wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        // Backslashes are literal unless a quote follows them.
        out.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
        backslashes = 0;
        out += c;
    }
    out.append(2 * backslashes, L'\\');
    return out + L"\"";
}

std::wstring upper(std::wstring text)
{
    for (wchar_t &c : text)
        if (c >= L'a' && c <= L'z')
            c = wchar_t(c - L'a' + L'A');
    return text;
}

std::wstring fromUtf8(const std::string &bytes)
{
    if (bytes.empty())
        return {};
    const int size = MultiByteToWideChar(CP_UTF8, 0, bytes.data(), int(bytes.size()), nullptr, 0);
    std::wstring text(std::size_t(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, bytes.data(), int(bytes.size()), text.data(), size);
    return text;
}

std::wstring trimmed(std::wstring text)
{
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' '))
        text.pop_back();
    return text;
}

struct Outcome
{
    bool ran = false;
    bool ended = false; // within CheckTimeoutMs
    DWORD status = 0;
    std::string errors; // what it wrote on stderr, UTF-8
};

// The program's check takes a moment; one that hangs must not hold the install forever.
constexpr ULONGLONG CheckTimeoutMs = 120000;

// What the pipe holds now, without waiting for more: a program that hangs writes nothing.
void drain(HANDLE pipe, std::string &into)
{
    char buffer[4096];
    DWORD waiting = 0;
    DWORD got = 0;
    while (PeekNamedPipe(pipe, nullptr, 0, nullptr, &waiting, nullptr) && waiting > 0 &&
           ReadFile(pipe, buffer, std::min<DWORD>(waiting, sizeof buffer), &got, nullptr) &&
           got > 0)
        into.append(buffer, got);
}

Outcome run(std::wstring commandLine)
{
    Outcome outcome;
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0))
        return outcome;
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    const HANDLE nothing =
        CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    &inherit, OPEN_EXISTING, 0, nullptr);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nothing;
    startup.hStdOutput = nothing;
    startup.hStdError = writeEnd;
    PROCESS_INFORMATION process{};
    outcome.ran = CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE,
                                 CREATE_NO_WINDOW, nullptr, nullptr, &startup, &process);
    // The program holds the only write end now.
    CloseHandle(writeEnd);
    if (nothing != INVALID_HANDLE_VALUE)
        CloseHandle(nothing);
    if (outcome.ran) {
        // Read as it goes, so that a long message cannot fill the pipe and stop the program.
        const ULONGLONG deadline = GetTickCount64() + CheckTimeoutMs;
        while (!outcome.ended && GetTickCount64() < deadline) {
            outcome.ended = WaitForSingleObject(process.hProcess, 50) == WAIT_OBJECT_0;
            drain(readEnd, outcome.errors);
        }
        if (!outcome.ended)
            TerminateProcess(process.hProcess, 1);
        GetExitCodeProcess(process.hProcess, &outcome.status);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    CloseHandle(readEnd);
    return outcome;
}
} // namespace

extern "C" __declspec(dllexport) UINT __stdcall ArgumentsFromProperties(MSIHANDLE install)
{
    const std::wstring keys = property(install, L"VORTANI_SETUP_KEYS") + L";";
    std::wstring arguments;
    for (std::size_t start = 0, end; (end = keys.find(L';', start)) != std::wstring::npos;
         start = end + 1) {
        const std::wstring key = keys.substr(start, end - start);
        if (key.empty())
            continue;
        // Set but empty reads as not given, as with any MSI property.
        const std::wstring value = property(install, upper(key).c_str());
        if (value.empty())
            continue;
        arguments += (arguments.empty() ? L"" : L" ") + quoted(L"--" + key + L"=" + value);
    }
    return MsiSetPropertyW(install, L"VORTANI_ARGUMENTS", arguments.c_str());
}

extern "C" __declspec(dllexport) UINT __stdcall CheckArguments(MSIHANDLE install)
{
    const std::wstring commandLine = property(install, L"CustomActionData");
    const Outcome outcome = run(commandLine);
    if (!outcome.ran) {
        tell(install, INSTALLMESSAGE_ERROR,
             L"Vortani Puzzle: non è stato possibile avviare il programma per controllare le "
             L"impostazioni della classe (" +
                 commandLine + L").");
        return ERROR_INSTALL_FAILURE;
    }
    if (!outcome.ended) {
        tell(install, INSTALLMESSAGE_ERROR,
             L"Vortani Puzzle: il controllo delle impostazioni della classe non è finito in " +
                 std::to_wstring(CheckTimeoutMs / 1000) + L" secondi (" + commandLine + L").");
        return ERROR_INSTALL_FAILURE;
    }
    if (outcome.status != 0) {
        const std::wstring text = trimmed(fromUtf8(outcome.errors));
        tell(install, INSTALLMESSAGE_ERROR,
             text.empty() ? L"Vortani Puzzle: le impostazioni della classe non vanno bene "
                            L"(stato " +
                                std::to_wstring(outcome.status) + L")."
                          : text);
        return ERROR_INSTALL_FAILURE;
    }
    tell(install, INSTALLMESSAGE_INFO, L"Impostazioni della classe controllate: " + commandLine);
    return ERROR_SUCCESS;
}
