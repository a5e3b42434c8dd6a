// SPDX-License-Identifier: GPL-3.0-or-later
#include "RecordingClipSink.h"

void RecordingClipSink::start(qint16 clipId, const QByteArray &wavImage)
{
    clips << clipId;
    images << wavImage;
}
