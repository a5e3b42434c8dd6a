// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the child has chosen for the whole run, on either screen; nothing of it is saved.
struct ChildPreferences
{
    bool soundMuted = false;
    // The guidance texts show until the first answer of a visit is confirmed.
    bool showHints = false;
};
