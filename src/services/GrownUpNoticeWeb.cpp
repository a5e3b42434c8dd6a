// SPDX-License-Identifier: GPL-3.0-or-later
#include "GrownUpNotice.h"

#include "WebPage.h"

int GrownUpNotice::answer(const CommandLine::Request &request)
{
    // A page has no terminal: the text shows in place of the game, for the grown-up who made
    // the link.
    const bool refused = request.kind == CommandLine::Kind::Refuse;
    WebPage::showNotice(request.text, refused);
    return refused ? CommandLine::RefusedStatus : 0;
}
