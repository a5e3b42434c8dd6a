// SPDX-License-Identifier: GPL-3.0-or-later
#include "GameExit.h"

#include "WebPage.h"

// A page cannot close itself, and a program that returned would leave a blank canvas: the page
// says goodbye in its place, and playing again starts afresh.
void GameExit::endGame()
{
    WebPage::sayGoodbye();
}
