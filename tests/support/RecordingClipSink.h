// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ClipSink.h"

#include <QList>

// Stands in for the audio output and remembers which clips were asked for, in order.
class RecordingClipSink : public ClipSink
{
public:
    void start(qint16 clipId, const QByteArray &wavImage) override;

    QList<int> clips;
    QList<QByteArray> images;
};
