// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Operation.h"

#include <QtGlobal>

#include <optional>

struct ExerciseChoice;

// Operand ranges, inclusive: firstMin..firstMax for the first operand, secondMin..secondMax for
// the second.
struct LevelBounds
{
    qint16 firstMax;
    qint16 firstMin;
    qint16 secondMax;
    qint16 secondMin;
};

// How the dealer turns the operands a and b it drew into a problem, and which pairs it refuses.
enum class ProblemShape
{
    Sum,               // a + b
    Difference,        // a - b; refused unless a > b
    Product,           // a x b
    ProductOverFirst,  // (a x b) : a; refused when b is 1 or greater than a
    InexactQuotient,   // a : b, whole part; refused when b divides a or the quotient exceeds 10
    ProductOverSecond, // (a x b) : b; refused when b is 1 or a is below leastFirst
};

// What a level means for one operation.
struct LevelRule
{
    ProblemShape shape;
    // The bounds the dealer draws from and leaves in the choice; nothing: those the level
    // choice stored.
    std::optional<LevelBounds> dealtBounds;
    // ProductOverSecond: smaller first operands are drawn and refused.
    qint16 leastFirst;
    // The note under the answer box: nothing leaves it alone, false empties it, true says that
    // only the whole part of the quotient counts.
    std::optional<bool> wholePartOnly;
};

namespace LevelTable {
// Levels run from 1 to this; the exercise form has one option for each.
inline constexpr int LevelCount = 4;

// The bounds choosing level 1..LevelCount stores, the same for every operation; nothing for any
// other number.
std::optional<LevelBounds> bounds(int level);
// What the level means for the operation; nothing for a level not in the table.
std::optional<LevelRule> rule(Operation operation, int level);
// Chooses a level: stores it and its bounds in the choice. Returns false, changing nothing,
// for a level not in the table.
bool apply(ExerciseChoice &choice, int level);
// Writes the four bounds into the choice.
void setBounds(ExerciseChoice &choice, const LevelBounds &bounds);
} // namespace LevelTable
