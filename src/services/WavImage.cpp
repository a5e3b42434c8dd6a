// SPDX-License-Identifier: GPL-3.0-or-later
#include "WavImage.h"

#include <QtEndian>

namespace {
constexpr quint16 PcmFormat = 1;

quint32 le32(const char *p)
{
    return qFromLittleEndian<quint32>(p);
}

quint16 le16(const char *p)
{
    return qFromLittleEndian<quint16>(p);
}
} // namespace

std::optional<WavImage> WavImage::parse(const QByteArray &bytes)
{
    if (bytes.size() < 12 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "WAVE")
        return std::nullopt;
    // The RIFF size may not claim more than there is; trailing bytes beyond it are ignored.
    const qint64 riffEnd = 8 + qint64(le32(bytes.constData() + 4));
    if (riffEnd > bytes.size())
        return std::nullopt;

    WavImage image;
    bool haveFormat = false;
    bool haveData = false;
    qint64 pos = 12;
    while (pos + 8 <= riffEnd) {
        const char *chunk = bytes.constData() + pos;
        const qint64 size = le32(chunk + 4);
        const qint64 body = pos + 8;
        if (size > riffEnd - body)
            return std::nullopt;
        if (qstrncmp(chunk, "fmt ", 4) == 0) {
            if (size < 16 || le16(chunk + 8) != PcmFormat)
                return std::nullopt;
            image.channels = le16(chunk + 10);
            image.sampleRate = int(qMin<quint32>(le32(chunk + 12), 1'000'000));
            image.bitsPerSample = le16(chunk + 22);
            haveFormat = true;
        } else if (qstrncmp(chunk, "data", 4) == 0 && !haveData) {
            image.samples = bytes.mid(body, size);
            haveData = true;
        }
        pos = body + size + (size & 1);
    }
    const bool usable = haveFormat && haveData && image.channels > 0 && image.sampleRate > 0 &&
                        (image.bitsPerSample == 8 || image.bitsPerSample == 16);
    if (!usable)
        return std::nullopt;
    return image;
}
