// SPDX-License-Identifier: GPL-3.0-or-later
#include "WebAudioClipSink.h"

#include "WebPage.h"

void WebAudioClipSink::start(qint16 clipId, const QByteArray &wavImage)
{
    static_cast<void>(clipId);
    // The page copies the bytes before returning: the clip player may let them go at once.
    if (!wavImage.isEmpty())
        WebPage::playClip(wavImage);
}
