// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Voice.h"

#include <QTextToSpeech>

// Speaks through Qt TextToSpeech's default engine (speech-dispatcher on Debian), in Italian when
// a voice for it is installed.
class TextToSpeechVoice : public Voice
{
public:
    TextToSpeechVoice();
    void say(const QString &text) override;

private:
    void chooseItalian();
    void reportOnce(const QString &why);

    QTextToSpeech speech;
    bool reported = false;
};
