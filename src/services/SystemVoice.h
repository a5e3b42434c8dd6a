// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Voice.h"

#include <memory>

// The voice the program reads aloud with on this platform.
namespace SystemVoice {
// Qt TextToSpeech (speech-dispatcher) on Linux, SAPI on Windows, the browser's speech synthesis
// on the web; each prefers an Italian voice, and says in the log when it has none or cannot
// speak at all. Made only when the class's set-up asks for reading aloud.
std::unique_ptr<Voice> make();
} // namespace SystemVoice
