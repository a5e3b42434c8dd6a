// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Ends the game once its forms are hidden: the event loop returns with status 0 where a program
// can end; a web page, which cannot, says goodbye and offers to play again.
void EndGame();
