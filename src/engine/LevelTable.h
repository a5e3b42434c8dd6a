// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

#include <optional>

// Operand ranges of one level; the same for every operation.
struct LevelBounds
{
    qint16 FirstMax;
    qint16 FirstMin;
    qint16 SecondMax;
    qint16 SecondMin;
};

namespace LevelTable {
// The bounds of level 1..4, or nothing for any other number.
std::optional<LevelBounds> bounds(int level);
} // namespace LevelTable
