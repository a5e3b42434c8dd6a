// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

#include <optional>

// The format and samples of one in-memory RIFF/WAVE image with uncompressed PCM.
struct WavImage
{
    int sampleRate = 0;
    int channels = 0;
    int bitsPerSample = 0;
    QByteArray samples;

    // Walks the RIFF chunks ("fmt ", "data", anything else skipped, odd chunks padded).
    // Returns nothing for anything that is not a complete PCM WAVE image.
    static std::optional<WavImage> parse(const QByteArray &bytes);
};
