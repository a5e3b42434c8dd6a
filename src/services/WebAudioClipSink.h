// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ClipSink.h"

// Plays clips through the page's Web Audio: the browser decodes the WAV image itself, and starts
// sound once the child has pressed something, as browsers require.
class WebAudioClipSink : public ClipSink
{
public:
    void start(qint16 clipId, const QByteArray &wavImage) override;
};
