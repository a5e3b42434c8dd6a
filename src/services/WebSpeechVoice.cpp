// SPDX-License-Identifier: GPL-3.0-or-later
#include "WebSpeechVoice.h"

#include "WebPage.h"

void WebSpeechVoice::say(const QString &text)
{
    WebPage::speak(text);
}
