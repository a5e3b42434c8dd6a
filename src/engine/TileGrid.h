// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The puzzle's tiles lie in a grid of four columns and three rows, numbered row by row from 0.
namespace TileGrid {
inline constexpr int Columns = 4;
inline constexpr int Rows = 3;
inline constexpr int Count = Columns * Rows;
} // namespace TileGrid
