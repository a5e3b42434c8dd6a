// SPDX-License-Identifier: GPL-3.0-or-later
#include "TextToSpeechVoice.h"

#include <QVoice>

#include <cstdio>

TextToSpeechVoice::TextToSpeechVoice()
{
    QObject::connect(&speech, &QTextToSpeech::stateChanged, &speech,
                     [this](QTextToSpeech::State state) {
                         if (state == QTextToSpeech::Error)
                             reportOnce(QStringLiteral("the speech engine failed"));
                     });
    if (speech.state() == QTextToSpeech::Error)
        reportOnce(QStringLiteral("no speech engine answers"));
    else
        chooseItalian();
}

void TextToSpeechVoice::chooseItalian()
{
    for (const QLocale &locale : speech.availableLocales()) {
        if (locale.language() != QLocale::Italian)
            continue;
        speech.setLocale(locale);
        return;
    }
    std::fprintf(stderr, "Vortani Puzzle: no Italian voice is installed; reading aloud with %s\n",
                 qPrintable(speech.voice().name()));
}

void TextToSpeechVoice::say(const QString &text)
{
    if (speech.state() == QTextToSpeech::Error)
        return;
    speech.stop();
    speech.say(text);
}

void TextToSpeechVoice::reportOnce(const QString &why)
{
    if (reported)
        return;
    reported = true;
    std::fprintf(stderr, "Vortani Puzzle: cannot read aloud: %s\n", qPrintable(why));
}
