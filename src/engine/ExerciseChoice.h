// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Operation.h"

#include <QtGlobal>

#include <optional>

// The exercise the child chose: the operation on the start screen, the level and its operand
// ranges (inclusive) on the exercise screen. It outlives a visit to the exercise screen.
struct ExerciseChoice
{
    std::optional<Operation> operation; // nothing before the first choice
    int level = 0;                      // 1..LevelTable::LevelCount once chosen
    qint16 firstMax = 0;
    qint16 firstMin = 0;
    qint16 secondMax = 0;
    qint16 secondMin = 0;
};
