// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ClipSink.h"

#include <QBuffer>
#include <QObject>
#include <QPointer>

class QAudioSink;

// Plays clips through Qt Multimedia's default audio output (PulseAudio or PipeWire on Linux).
class AudioClipSink : public QObject, public ClipSink
{
    Q_OBJECT
public:
    explicit AudioClipSink(QObject *parent = nullptr);
    ~AudioClipSink() override;

    void start(qint16 clipId, const QByteArray &wavImage) override;

private:
    void stopCurrent();

    // Owned as a child: outputs on their way out are deleted later, never inside start().
    QPointer<QAudioSink> sink;
    QBuffer buffer;
};
