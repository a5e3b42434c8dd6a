// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

#include <array>

// The values both screens share for the whole run. Plain data on purpose: every handler reads
// and writes the fields directly, and nothing of it is ever saved.
struct ExerciseSettings
{
    static constexpr int ResultTableSize = 51;
    static constexpr int TileCount = 12;

    qint16 Operation = 0; // the code of an Operation (Operation.h)
    qint16 Level = 0;     // 1..LevelTable::LevelCount
    qint16 FirstMax = 0;
    qint16 FirstMin = 0;
    qint16 SecondMax = 0;
    qint16 SecondMin = 0;
    // Results reach 999 x 99 = 98 901, beyond 16 bits.
    std::array<qint32, ResultTableSize> ResultTable{};
    qint16 CurrentTile = 0;
    qint16 SolvedCount = 0;
    qint16 ShowHints = 0;
    qint16 SoundMuted = 0;
};
