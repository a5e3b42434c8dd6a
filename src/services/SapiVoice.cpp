// SPDX-License-Identifier: GPL-3.0-or-later
#include "SapiVoice.h"

#include <windows.h>

// The voice's class and interface identifiers are defined here, the one file that uses them.
#include <initguid.h>

#include <sapi.h>

#include <cstdio>

namespace {
// SAPI's voices are tokens whose Language attribute is the language's identifier in hex:
// 410 is Italian (Italy).
const wchar_t ItalianVoice[] = L"Language=410";
} // namespace

SapiVoice::SapiVoice()
{
    // The GUI thread is a single-threaded apartment already; this only counts it once more.
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const HRESULT made = CoCreateInstance(CLSID_SpVoice, nullptr, CLSCTX_ALL, IID_ISpVoice,
                                          reinterpret_cast<void **>(&voice));
    if (FAILED(made) || !voice) {
        voice = nullptr;
        std::fprintf(stderr, "Vortani Puzzle: cannot read aloud: no SAPI voice (0x%08lx)\n",
                     static_cast<unsigned long>(made));
        return;
    }
    chooseItalian();
}

SapiVoice::~SapiVoice()
{
    if (voice)
        voice->Release();
    CoUninitialize();
}

void SapiVoice::chooseItalian()
{
    ISpObjectTokenCategory *category = nullptr;
    IEnumSpObjectTokens *tokens = nullptr;
    ISpObjectToken *italian = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_SpObjectTokenCategory, nullptr, CLSCTX_ALL,
                                   IID_ISpObjectTokenCategory,
                                   reinterpret_cast<void **>(&category))) &&
        SUCCEEDED(category->SetId(SPCAT_VOICES, FALSE)) &&
        SUCCEEDED(category->EnumTokens(ItalianVoice, nullptr, &tokens)) &&
        tokens->Next(1, &italian, nullptr) == S_OK)
        voice->SetVoice(italian);
    else
        std::fprintf(stderr, "Vortani Puzzle: no Italian voice is installed; reading aloud with "
                             "the system's voice\n");
    for (IUnknown *object : {static_cast<IUnknown *>(italian), static_cast<IUnknown *>(tokens),
                             static_cast<IUnknown *>(category)})
        if (object)
            object->Release();
}

void SapiVoice::say(const QString &text)
{
    if (!voice)
        return;
    // Spoken in the background, replacing what is still being said; never read as markup.
    const HRESULT spoken = voice->Speak(reinterpret_cast<LPCWSTR>(text.utf16()),
                                        SPF_ASYNC | SPF_PURGEBEFORESPEAK | SPF_IS_NOT_XML, nullptr);
    if (FAILED(spoken) && !reported) {
        reported = true;
        std::fprintf(stderr, "Vortani Puzzle: cannot read aloud: the voice refused (0x%08lx)\n",
                     static_cast<unsigned long>(spoken));
    }
}
