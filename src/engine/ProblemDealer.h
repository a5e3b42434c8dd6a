// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Operation.h"
#include "ProjectFacts.h"
#include "TileGrid.h"

#include <QString>

#include <array>
#include <optional>

struct ExerciseChoice;
class RandomSource;

// One problem on a tile: the two numbers shown, its caption and the whole-number answer.
struct Problem
{
    qint32 left = 0;
    qint32 right = 0;
    qint32 result = 0;
    QString caption;
};

// What one deal puts on the form.
struct Deal
{
    std::array<Problem, TileGrid::Count> tiles;
    // The note under the answer box, as the level's rule says (LevelRule::wholePartOnly).
    std::optional<bool> wholePartOnly;
    int pictureNumber = 1; // 1..PictureCount
    int rounds = 0;        // how many times the tiles were dealt before all differed
};

namespace ProblemDealer {
// The puzzle pictures pic1.jpg .. pic<PictureCount>.jpg; the build copies as many.
inline constexpr int PictureCount = ProjectFacts::PictureCount;

// A number with one leading blank standing for the sign of a non-negative number: 7 -> " 7".
QString numberText(qint32 n);
// The two characters between the numbers of a caption: " +", " -", " x", " :".
QString separator(Operation operation);
// The whole part of ((max - min + 1) * r + min), kept within min..max.
int drawOperand(double r, int min, int max);
// The problem an attempt with operands a and b gives, or nothing when the rules refuse it or
// the level is not in the table.
std::optional<Problem> makeProblem(Operation operation, int level, int a, int b);
// Its caption: number text of the left number, the separator, number text of the right one.
QString caption(Operation operation, qint32 left, qint32 right);
// 1..PictureCount from r in [0, 1).
int pictureNumber(double r);
// "pic<n>.jpg", no folder and no leading zeros.
QString pictureFileName(int n);

// Deals a problem per tile for the choice's operation, level and bounds; where the level's rule
// has bounds of its own, writes those in place of the choice's. Returns nothing (and changes
// nothing) when the choice cannot give all different problems: an unknown operation or level,
// or empty or non-positive ranges.
std::optional<Deal> deal(ExerciseChoice &choice, RandomSource &random);
} // namespace ProblemDealer
