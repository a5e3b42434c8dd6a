// SPDX-License-Identifier: GPL-3.0-or-later
#include "AudioClipSink.h"

#include "WavImage.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QMediaDevices>
#include <QTimer>

namespace {
// Longer than a sound server's output latency (PulseAudio buffers at most about 2 s).
constexpr auto TailDelay = std::chrono::seconds(3);
} // namespace

AudioClipSink::AudioClipSink(QObject *parent) : QObject(parent) {}

AudioClipSink::~AudioClipSink()
{
    stopCurrent();
}

void AudioClipSink::stopCurrent()
{
    if (sink) {
        sink->stop();
        // Destroying an output makes Qt handle waiting events, which may play another clip:
        // that must not happen halfway through starting this one.
        sink->deleteLater();
        sink = nullptr;
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
    sink = new QAudioSink(device, format, this);
    QAudioSink *const output = sink;
    connect(output, &QAudioSink::stateChanged, output, [output](QAudio::State state) {
        // Free the stream once the clip has run out; a later clip makes a new one. Idle only
        // means the server has taken the last samples: the output still holds up to its latency
        // of them, and stop() would drop that tail, so wait before letting go.
        if (state != QAudio::IdleState)
            return;
        QTimer::singleShot(TailDelay, output, [output] {
            if (output->state() == QAudio::IdleState)
                output->stop();
        });
    });
    sink->start(&buffer);
}
