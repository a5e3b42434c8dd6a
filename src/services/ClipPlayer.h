// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QtGlobal>

class ClipSink;

// Plays the program's own clips (Clips.h). The sound switch is the caller's to apply.
class ClipPlayer
{
public:
    explicit ClipPlayer(ClipSink &sink);

    // Reads the clip afresh from the resources, makes it the held clip, starts it and then lets
    // Qt handle every waiting event before returning, so queued input runs at this point.
    void play(qint16 clipId);

private:
    ClipSink &sink;
    // The bytes of the clip last started; they stay alive until the next clip has started.
    QByteArray heldClip;
};
