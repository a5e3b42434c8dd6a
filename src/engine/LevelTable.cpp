// SPDX-License-Identifier: GPL-3.0-or-later
#include "LevelTable.h"

#include "ExerciseChoice.h"

#include <array>

namespace {
struct Level
{
    LevelBounds bounds;
    std::array<LevelRule, Operations.size()> rules; // in the order of Operations
};

constexpr std::optional<bool> NoteUntouched = std::nullopt;
constexpr std::optional<bool> NoteEmpty = false;
constexpr std::optional<bool> NoteWholePartOnly = true;

constexpr LevelRule Sum{ProblemShape::Sum, std::nullopt, 0, NoteUntouched};
constexpr LevelRule Difference{ProblemShape::Difference, std::nullopt, 0, NoteUntouched};
constexpr LevelRule Product{ProblemShape::Product, std::nullopt, 0, NoteUntouched};
constexpr LevelRule ProductOverFirst{ProblemShape::ProductOverFirst, std::nullopt, 0, NoteEmpty};
constexpr LevelRule WholePart{ProblemShape::InexactQuotient, std::nullopt, 0, NoteWholePartOnly};

// The answer and a one-digit divisor are drawn from bounds of their own, whatever the level
// stored.
constexpr LevelRule productOverSecond(LevelBounds dealt, qint16 leastFirst)
{
    return {ProblemShape::ProductOverSecond, dealt, leastFirst, NoteEmpty};
}

constexpr std::array<Level, LevelTable::LevelCount> Levels{{
    {{10, 1, 9, 1}, {Sum, Difference, Product, ProductOverFirst}},
    {{100, 10, 9, 1}, {Sum, Difference, Product, WholePart}},
    {{100, 10, 99, 10}, {Sum, Difference, Product, productOverSecond({100, 10, 9, 1}, 0)}},
    {{999, 100, 99, 10}, {Sum, Difference, Product, productOverSecond({999, 10, 9, 1}, 100)}},
}};

const Level *levelAt(int level)
{
    if (level < 1 || level > int(Levels.size()))
        return nullptr;
    return &Levels[std::size_t(level - 1)];
}
} // namespace

std::optional<LevelBounds> LevelTable::bounds(int level)
{
    if (const Level *l = levelAt(level))
        return l->bounds;
    return std::nullopt;
}

std::optional<LevelRule> LevelTable::rule(Operation operation, int level)
{
    if (const Level *l = levelAt(level))
        return l->rules[operationIndex(operation)];
    return std::nullopt;
}

bool LevelTable::apply(ExerciseChoice &choice, int level)
{
    const Level *l = levelAt(level);
    if (!l)
        return false;
    choice.level = level;
    setBounds(choice, l->bounds);
    return true;
}

void LevelTable::setBounds(ExerciseChoice &choice, const LevelBounds &bounds)
{
    choice.firstMax = bounds.firstMax;
    choice.firstMin = bounds.firstMin;
    choice.secondMax = bounds.secondMax;
    choice.secondMin = bounds.secondMin;
}
