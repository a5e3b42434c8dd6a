// SPDX-License-Identifier: GPL-3.0-or-later
#include "LevelTable.h"

#include <array>

namespace {
constexpr std::array<LevelBounds, 4> Levels{{
    {10, 1, 9, 1},
    {100, 10, 9, 1},
    {100, 10, 99, 10},
    {999, 100, 99, 10},
}};
} // namespace

std::optional<LevelBounds> LevelTable::bounds(int level)
{
    if (level < 1 || level > int(Levels.size()))
        return std::nullopt;
    return Levels[std::size_t(level - 1)];
}
