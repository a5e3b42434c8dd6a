// SPDX-License-Identifier: GPL-3.0-or-later
#include "WinmmClipSink.h"

#include <windows.h>
// windows.h first: mmsystem.h needs its types.
#include <mmsystem.h>

WinmmClipSink::~WinmmClipSink()
{
    // The bytes of a clip still playing are about to go with the program.
    if (started)
        sndPlaySoundA(nullptr, 0);
}

void WinmmClipSink::start(qint16 clipId, const QByteArray &wavImage)
{
    Q_UNUSED(clipId);
    if (wavImage.isEmpty())
        return;
    // A new clip cuts off the one still playing; without SND_NODEFAULT a clip that cannot be
    // played would sound the system's default beep instead of silence.
    sndPlaySoundA(wavImage.constData(), SND_ASYNC | SND_NODEFAULT | SND_MEMORY);
    started = true;
}
