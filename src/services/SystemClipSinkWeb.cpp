// SPDX-License-Identifier: GPL-3.0-or-later
#include "SystemClipSink.h"

#include "WebAudioClipSink.h"

std::unique_ptr<ClipSink> SystemClipSink::make()
{
    return std::make_unique<WebAudioClipSink>();
}
