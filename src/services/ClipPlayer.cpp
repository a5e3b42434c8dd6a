// SPDX-License-Identifier: GPL-3.0-or-later
#include "ClipPlayer.h"

#include "ClipSink.h"
#include "Resources.h"

#include <QCoreApplication>

ClipPlayer::ClipPlayer(ClipSink &sink) : sink(sink) {}

void ClipPlayer::play(qint16 clipId)
{
    const QByteArray clip = Resources::clipBytes(clipId);
    if (!clip.isEmpty())
        sink.start(clipId, clip);
    heldClip = clip;
    QCoreApplication::processEvents();
}
