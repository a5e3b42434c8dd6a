// SPDX-License-Identifier: GPL-3.0-or-later
#include "TextToSpeechVoice.h"

#include <QTextToSpeech>
#include <QVoice>

#include <cstdio>

TextToSpeechVoice::TextToSpeechVoice()
{
    thread.setObjectName(QStringLiteral("voice"));
    onThread = new QObject;
    onThread->moveToThread(&thread);
    thread.start();
    QMetaObject::invokeMethod(
        onThread, [this] { open(); }, Qt::QueuedConnection);
}

TextToSpeechVoice::~TextToSpeechVoice()
{
    QMetaObject::invokeMethod(
        onThread,
        [this] {
            delete speech;
            speech = nullptr;
        },
        Qt::BlockingQueuedConnection);
    thread.quit();
    thread.wait();
    delete onThread;
}

void TextToSpeechVoice::open()
{
    speech = new QTextToSpeech(onThread);
    QObject::connect(speech, &QTextToSpeech::stateChanged, onThread,
                     [this](QTextToSpeech::State state) {
                         if (state == QTextToSpeech::Error)
                             reportOnce(QStringLiteral("the speech engine failed"));
                     });
    if (speech->state() == QTextToSpeech::Error)
        reportOnce(QStringLiteral("no speech engine answers"));
    else
        chooseItalian();
}

void TextToSpeechVoice::chooseItalian()
{
    for (const QLocale &locale : speech->availableLocales()) {
        if (locale.language() != QLocale::Italian)
            continue;
        speech->setLocale(locale);
        return;
    }
    std::fprintf(stderr, "Vortani Puzzle: no Italian voice is installed; reading aloud with %s\n",
                 qPrintable(speech->voice().name()));
}

void TextToSpeechVoice::say(const QString &text)
{
    QMetaObject::invokeMethod(
        onThread,
        [this, text] {
            if (!speech || speech->state() == QTextToSpeech::Error)
                return;
            speech->stop();
            speech->say(text);
        },
        Qt::QueuedConnection);
}

void TextToSpeechVoice::reportOnce(const QString &why)
{
    if (reported)
        return;
    reported = true;
    std::fprintf(stderr, "Vortani Puzzle: cannot read aloud: %s\n", qPrintable(why));
}
