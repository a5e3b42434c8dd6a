// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

// The program's own clips, by identifier. The build packs assets/sounds/clip<identifier>.wav for
// every identifier declared here, reading them from this file: one per line, as below.
namespace Clips {
inline constexpr qint16 Fanfare = 101; // the last tile of a puzzle solved
inline constexpr qint16 Blip = 102;    // a level chosen, a keypad key pressed
inline constexpr qint16 Oops = 103;    // a wrong answer
inline constexpr qint16 Chime = 104;   // a right answer
inline constexpr qint16 Click = 105;   // an operation, the sound back on, a tile, leaving

// The identifiers run without a gap from the first to the last.
inline constexpr qint16 First = Fanfare;
inline constexpr qint16 Last = Click;
} // namespace Clips
