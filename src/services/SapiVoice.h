// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Voice.h"

struct ISpVoice;

// Speaks through SAPI's voice, the one Windows' own narration uses, in Italian when the
// system has an Italian voice (it comes with the Italian language pack).
class SapiVoice : public Voice
{
public:
    SapiVoice();
    ~SapiVoice() override;
    SapiVoice(const SapiVoice &) = delete;
    SapiVoice &operator=(const SapiVoice &) = delete;

    void say(const QString &text) override;

private:
    void chooseItalian();

    ISpVoice *voice = nullptr;
    bool reported = false;
};
