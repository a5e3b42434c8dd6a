// SPDX-License-Identifier: GPL-3.0-or-later
// Parses the input as a WAV image. Besides the sanitizers, what an accepted image promises stops
// the run when broken.
#include "WavImage.h"

#include <QtEndian>

#include <cstdint>

namespace {
void require(bool property)
{
    if (!property)
        __builtin_trap();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const auto wav = WavImage::parse(bytes);
    if (!wav)
        return 0;

    // What the audio output is set up from.
    require(wav->channels > 0 && wav->sampleRate > 0 && wav->sampleRate <= 1'000'000);
    require(wav->bitsPerSample == 8 || wav->bitsPerSample == 16);
    // The samples lie inside the RIFF body, after at least its header, a whole PCM format chunk
    // and the data chunk's header: 44 bytes.
    const qint64 riffEnd = 8 + qint64(qFromLittleEndian<quint32>(bytes.constData() + 4));
    require(riffEnd <= bytes.size());
    require(wav->samples.size() + 44 <= riffEnd);
    require(bytes.left(riffEnd).contains(wav->samples));

    // Bytes beyond the RIFF size are ignored.
    const auto longer = WavImage::parse(bytes + QByteArray("data\x04\0\0\0abcd", 12));
    require(longer && longer->samples == wav->samples && longer->channels == wav->channels &&
            longer->sampleRate == wav->sampleRate && longer->bitsPerSample == wav->bitsPerSample);
    return 0;
}
