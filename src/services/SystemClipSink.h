// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ClipSink.h"

#include <memory>

// The sink the program plays its clips through on this platform.
namespace SystemClipSink {
// The sound server through Qt Multimedia on Linux, winmm on Windows, the page's Web Audio in a
// browser. The build picks the one that is linked.
std::unique_ptr<ClipSink> make();
} // namespace SystemClipSink
