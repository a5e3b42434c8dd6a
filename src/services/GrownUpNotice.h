// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CommandLine.h"

// Answers a start that is not a game (the help, the version, a check, a refused set-up) where the
// grown-up who asked will see it: the terminal, a message box where a program started from a
// shortcut has none, the web page in place of the game.
namespace GrownUpNotice {
// Returns the program's exit status.
int answer(const CommandLine::Request &request);
} // namespace GrownUpNotice
