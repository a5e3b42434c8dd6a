// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Clips.h"
#include "ClipSink.h"

#include <QList>

// Clips in the order they were asked for, compared by their names in Clips.
using ClipList = QList<qint16>;

// Stands in for the audio output and remembers which clips were asked for, in order.
class RecordingClipSink : public ClipSink
{
public:
    void start(qint16 clipId, const QByteArray &wavImage) override;

    ClipList clips;
    QList<QByteArray> images;
};
