// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QtGlobal>

// Where clips go to be heard. The program uses the audio output; tests put a recorder here.
class ClipSink
{
public:
    virtual ~ClipSink() = default;
    // Starts the WAV image asynchronously, cutting off whatever clip still plays. A clip that
    // cannot be played is silence: no message, no fallback sound.
    virtual void start(qint16 clipId, const QByteArray &wavImage) = 0;
};
