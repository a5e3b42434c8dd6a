// SPDX-License-Identifier: GPL-3.0-or-later
#include "Round.h"

#include "AnswerParser.h"

bool Round::deal(ExerciseChoice &choice, RandomSource &random)
{
    std::optional<Deal> next = ProblemDealer::deal(choice, random);
    if (!next)
        return false;
    dealt = std::move(next);
    solvedTiles.fill(false);
    solved = 0;
    ++deals;
    return true;
}

const Deal &Round::currentDeal() const
{
    static const Deal none;
    return dealt ? *dealt : none;
}

const Problem &Round::problem(int tile) const
{
    static const Problem none;
    return inGrid(tile) ? currentDeal().tiles[std::size_t(tile)] : none;
}

bool Round::isSolved(int tile) const
{
    return inGrid(tile) && solvedTiles[std::size_t(tile)];
}

bool Round::open(int tile)
{
    if (!dealt || !inGrid(tile) || isSolved(tile))
        return false;
    opened = tile;
    return true;
}

std::optional<Round::Verdict> Round::judge(QStringView answer)
{
    if (!opened)
        return std::nullopt;
    const int tile = *opened;
    if (AnswerParser::leadingNumber(answer) != double(problem(tile).result))
        return Verdict::Wrong;
    solvedTiles[std::size_t(tile)] = true;
    ++solved;
    opened.reset();
    return isFinished() ? Verdict::Finished : Verdict::Right;
}

std::optional<int> Round::nextUnsolvedAfter(int tile) const
{
    for (int step = 1; step < TileGrid::Count; ++step) {
        const int next = (tile + step) % TileGrid::Count;
        if (!isSolved(next))
            return next;
    }
    return std::nullopt;
}
