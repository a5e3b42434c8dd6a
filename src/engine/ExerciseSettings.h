// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Operation.h"

#include <QtGlobal>

#include <array>
#include <optional>

// The values both screens share for the whole run. Plain data on purpose: every handler reads
// and writes the fields directly, and nothing of it is ever saved.
struct ExerciseSettings
{
    static constexpr int TileCount = 12;

    std::optional<Operation> operation; // nothing before the first choice
    qint16 level = 0;                   // 1..LevelTable::LevelCount
    qint16 firstMax = 0;
    qint16 firstMin = 0;
    qint16 secondMax = 0;
    qint16 secondMin = 0;
    // The answer to each tile's problem. Results reach 999 x 99 = 98 901, beyond 16 bits.
    std::array<qint32, TileCount> results{};
    int currentTile = 0;
    int solvedCount = 0;
    bool showHints = false;
    bool soundMuted = false;
};
