// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ProblemDealer.h"
#include "TileGrid.h"

#include <QStringView>

#include <array>
#include <optional>

struct ExerciseChoice;
class RandomSource;

// One puzzle as it is played: the twelve problems dealt, which tiles are solved, and the tile the
// keypad answers. The exercise screen shows it and forwards the child's input to it.
class Round
{
public:
    enum class Verdict
    {
        Right,
        Wrong,
        Finished, // right, and no tile is left
    };

    // Deals twelve new problems for the choice, all unsolved. An open tile stays open, so that
    // the keypad goes on answering it with its new problem. Returns false, changing nothing, when
    // the choice cannot be dealt.
    bool deal(ExerciseChoice &choice, RandomSource &random);

    bool isDealt() const { return dealt.has_value(); }
    // How many deals there were, so that a handler resumed after a clip can tell whether the
    // puzzle it acted on is still the one in play.
    int dealCount() const { return deals; }
    // The last deal; empty problems before the first.
    const Deal &currentDeal() const;
    const Problem &problem(int tile) const;
    bool isSolved(int tile) const;
    int solvedCount() const { return solved; }
    bool isFinished() const { return solved == TileGrid::Count; }
    std::optional<int> openTile() const { return opened; }

    // Opens a tile for an answer, closing the one open before. A tile outside the grid, a solved
    // one, or any before the first deal is refused, and nothing changes.
    bool open(int tile);
    // Judges an answer to the open tile by the number its text starts with. A right answer
    // solves the tile and closes it; a wrong one leaves it open. Nothing without an open tile.
    std::optional<Verdict> judge(QStringView answer);
    // The first unsolved tile after this one, counting on from it and round past the last;
    // nothing when every other tile is solved.
    std::optional<int> nextUnsolvedAfter(int tile) const;

private:
    static bool inGrid(int tile) { return tile >= 0 && tile < TileGrid::Count; }

    std::optional<Deal> dealt;
    std::array<bool, TileGrid::Count> solvedTiles{};
    int solved = 0;
    int deals = 0;
    std::optional<int> opened;
};
