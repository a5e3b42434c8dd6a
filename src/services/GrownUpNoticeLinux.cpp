// SPDX-License-Identifier: GPL-3.0-or-later
#include "GrownUpNotice.h"

#include <cstdio>

int GrownUpNotice::answer(const CommandLine::Request &request)
{
    using CommandLine::Kind;
    if (request.kind != Kind::Refuse) {
        std::fputs(qPrintable(request.text), stdout);
        if (!request.text.isEmpty() && !request.text.endsWith(u'\n'))
            std::fputc('\n', stdout);
        return 0;
    }
    std::fprintf(stderr, "vortani: %s\nvortani --help elenca le opzioni.\n",
                 qPrintable(request.text));
    return CommandLine::RefusedStatus;
}
