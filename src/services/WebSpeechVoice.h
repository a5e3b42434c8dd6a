// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Voice.h"

// Speaks through the browser's speech synthesis, which the page drives (packaging/web/page.js).
class WebSpeechVoice : public Voice
{
public:
    void say(const QString &text) override;
};
