// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ClipSink.h"

// Plays clips with winmm's sndPlaySoundA, straight from the bytes in memory. The caller keeps
// those bytes alive until the next clip has started (ClipPlayer's held clip).
class WinmmClipSink : public ClipSink
{
public:
    WinmmClipSink() = default;
    ~WinmmClipSink() override;

    void start(qint16 clipId, const QByteArray &wavImage) override;

private:
    bool started = false;
};
