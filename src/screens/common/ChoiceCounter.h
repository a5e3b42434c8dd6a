// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Numbers the choices of one kind (an operation, a level), so that a handler resumed after its
// clip can tell whether a newer choice of that kind ran meanwhile.
class ChoiceCounter
{
public:
    // The number of a choice just made.
    int next() { return ++latest; }
    bool isLatest(int choice) const { return choice == latest; }

private:
    int latest = 0;
};
