// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "LevelTable.h"
#include "Operation.h"

#include <array>

// How the sound starts for a class: on, as always; off, the child may switch it on; off, and
// the switch locked.
enum class SoundStart
{
    On,
    Off,
    Locked,
};

// What a teacher chose for a class: the operations and levels offered, how the sound starts,
// and whether the game reads aloud. Without a set-up everything is offered, with the sound on.
struct ClassSetup
{
    // In the order of Operations.
    std::array<bool, Operations.size()> operations{true, true, true, true};
    // Level 1 first.
    std::array<bool, LevelTable::LevelCount> levels{true, true, true, true};
    SoundStart sound = SoundStart::On;
    bool voice = false;

    bool offers(Operation operation) const { return operations[operationIndex(operation)]; }
    bool offersLevel(int level) const
    {
        return level >= 1 && level <= LevelTable::LevelCount && levels[std::size_t(level - 1)];
    }
    bool operator==(const ClassSetup &) const = default;
};
