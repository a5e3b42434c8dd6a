// SPDX-License-Identifier: GPL-3.0-or-later
#include "AudioClipSink.h"

#include "WavImage.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QMediaDevices>

AudioClipSink::AudioClipSink(QObject *parent) : QObject(parent) {}

AudioClipSink::~AudioClipSink()
{
    stopCurrent();
}

void AudioClipSink::stopCurrent()
{
    if (sink) {
        sink->stop();
        sink.reset();
    }
    buffer.close();
}

void AudioClipSink::start(qint16 clipId, const QByteArray &wavImage)
{
    Q_UNUSED(clipId);
    stopCurrent();

    const auto wav = WavImage::parse(wavImage);
    if (!wav)
        return;
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull())
        return; // no audio server or no output: the game goes on silently

    QAudioFormat format;
    format.setSampleRate(wav->sampleRate);
    format.setChannelCount(wav->channels);
    format.setSampleFormat(wav->bitsPerSample == 8 ? QAudioFormat::UInt8 : QAudioFormat::Int16);

    buffer.setData(wav->samples);
    if (!buffer.open(QIODevice::ReadOnly))
        return;
    sink = std::make_unique<QAudioSink>(device, format);
    connect(sink.get(), &QAudioSink::stateChanged, this, [this](QAudio::State state) {
        // Free the stream once the clip has run out; a later clip makes a new one.
        if (state == QAudio::IdleState && sink)
            sink->stop();
    });
    sink->start(&buffer);
}
