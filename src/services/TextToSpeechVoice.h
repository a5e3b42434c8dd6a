// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Voice.h"

#include <QThread>

class QTextToSpeech;

// Speaks through Qt TextToSpeech's default engine (speech-dispatcher on Debian), in Italian when
// a voice for it is installed. The engine lives on a thread of its own: speech-dispatcher lists
// its voices when it is opened, seconds of work with espeak-ng's hundreds, which must not keep
// the start screen from showing. Texts said meanwhile wait their turn.
class TextToSpeechVoice : public Voice
{
public:
    TextToSpeechVoice();
    ~TextToSpeechVoice() override;
    TextToSpeechVoice(const TextToSpeechVoice &) = delete;
    TextToSpeechVoice &operator=(const TextToSpeechVoice &) = delete;

    void say(const QString &text) override;

private:
    // On the voice's thread.
    void open();
    void chooseItalian();
    void reportOnce(const QString &why);

    QThread thread;
    QObject *onThread = nullptr; // lives on the thread; the engine is its child
    QTextToSpeech *speech = nullptr;
    bool reported = false;
};
