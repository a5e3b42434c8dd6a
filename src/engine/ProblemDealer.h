// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ExerciseSettings.h"

#include <QString>

#include <array>
#include <optional>

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
    std::array<Problem, ExerciseSettings::TileCount> tiles;
    // Division only: the text for the note under the answer box.
    std::optional<QString> label2;
    int pictureNumber = 1; // 1..30
    int rounds = 0;        // how many times the twelve tiles were dealt before all differed
};

namespace ProblemDealer {
inline constexpr int PictureCount = 30;

// A number with one leading blank standing for the sign of a non-negative number: 7 -> " 7".
QString numberText(qint32 n);
// The two characters between the numbers of a caption: " +", " -", " x", " :".
QString separator(int operation);
// The whole part of ((max - min + 1) * r + min), kept within min..max.
int drawOperand(double r, int min, int max);
// The problem an attempt with operands a and b gives, or nothing when the rules refuse it.
std::optional<Problem> makeProblem(int operation, int level, int a, int b);
// Its caption: number text of the left number, the separator, number text of the right one.
QString caption(int operation, qint32 left, qint32 right);
// 1..30 from r in [0, 1).
int pictureNumber(double r);
// "pic<n>.jpg", no folder and no leading zeros.
QString pictureFileName(int n);

// Deals twelve different problems for settings.Operation / Level and the bounds: writes
// ResultTable[0..11], sets SolvedCount to 0 and, for division at levels 3 and 4, replaces the
// bounds. Returns nothing (and changes nothing) when the settings cannot give twelve different
// problems: an unknown operation or level, or empty or non-positive ranges.
std::optional<Deal> deal(ExerciseSettings &settings, RandomSource &random);
} // namespace ProblemDealer
