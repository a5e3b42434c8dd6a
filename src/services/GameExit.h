// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// How the game ends when the child leaves it.
namespace GameExit {
// Ends the game once its forms are hidden: the event loop returns with status 0 where a program
// can end; a web page, which cannot, says goodbye and offers to play again.
void endGame();
} // namespace GameExit
