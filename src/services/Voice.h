// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Reads the game's words aloud for a child who cannot read them yet. The program uses the
// platform's speech; tests put a recorder here.
class Voice
{
public:
    virtual ~Voice() = default;
    // Starts saying text, cutting off what is still being said. A voice that cannot speak is
    // silent, and the game plays on.
    virtual void say(const QString &text) = 0;
};
