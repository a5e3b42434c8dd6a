// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProblemDealer.h"

#include "RandomSource.h"

#include <algorithm>
#include <cmath>

namespace {
// Far above anything the level table needs (about five rounds at worst); only bounds that
// cannot give twelve different problems ever reach these.
constexpr int MaxRounds = 10000;
constexpr int MaxAttemptsPerTile = 100000;

// Numbers and results without the caption text, which only the final deal needs.
struct Draft
{
    qint32 left, right, result;
};

std::optional<Draft> draft(int operation, int level, int a, int b)
{
    switch (operation) {
    case 1:
        return Draft{a, b, a + b};
    case 2:
        if (b > a || a - b == 0)
            return std::nullopt;
        return Draft{a, b, a - b};
    case 3:
        return Draft{a, b, a * b};
    case 4:
        switch (level) {
        case 1:
            if (b == 1 || b > a)
                return std::nullopt;
            return Draft{a * b, a, (a * b) / a};
        case 2:
            if (a / b > 10 || a % b == 0)
                return std::nullopt;
            return Draft{a, b, a / b};
        case 3:
            if (b == 1)
                return std::nullopt;
            return Draft{a * b, b, (a * b) / b};
        case 4:
            if (b == 1 || a < 100)
                return std::nullopt;
            return Draft{a * b, b, (a * b) / b};
        }
        break;
    }
    return std::nullopt;
}

// Division replaces the bounds at levels 3 and 4 and says "whole part only" at level 2.
void prepareRound(ExerciseSettings &s, std::optional<QString> &label2)
{
    if (s.Operation != 4)
        return;
    label2 = s.Level == 2 ? QStringLiteral("solo parte intera") : QString();
    if (s.Level == 3) {
        s.FirstMax = 100;
        s.FirstMin = 10;
        s.SecondMax = 9;
        s.SecondMin = 1;
    } else if (s.Level == 4) {
        s.FirstMax = 999;
        s.FirstMin = 10;
        s.SecondMax = 9;
        s.SecondMin = 1;
    }
}

bool dealable(const ExerciseSettings &s)
{
    if (s.Operation < 1 || s.Operation > 4)
        return false;
    if (s.Operation == 4 && (s.Level < 1 || s.Level > 4))
        return false;
    return true;
}

bool boundsUsable(const ExerciseSettings &s)
{
    return s.FirstMin >= 1 && s.SecondMin >= 1 && s.FirstMin <= s.FirstMax &&
           s.SecondMin <= s.SecondMax;
}
} // namespace

QString ProblemDealer::numberText(qint32 n)
{
    return n < 0 ? QString::number(n) : QLatin1Char(' ') + QString::number(n);
}

QString ProblemDealer::separator(int operation)
{
    switch (operation) {
    case 1:
        return QStringLiteral(" +");
    case 2:
        return QStringLiteral(" -");
    case 3:
        return QStringLiteral(" x");
    case 4:
        return QStringLiteral(" :");
    default:
        return {};
    }
}

int ProblemDealer::drawOperand(double r, int min, int max)
{
    const int value = int(std::floor((max - min + 1) * r + min));
    return std::clamp(value, min, max);
}

QString ProblemDealer::caption(int operation, qint32 left, qint32 right)
{
    return numberText(left) + separator(operation) + numberText(right);
}

std::optional<Problem> ProblemDealer::makeProblem(int operation, int level, int a, int b)
{
    const auto d = draft(operation, level, a, b);
    if (!d)
        return std::nullopt;
    return Problem{d->left, d->right, d->result, caption(operation, d->left, d->right)};
}

int ProblemDealer::pictureNumber(double r)
{
    return std::clamp(int(std::floor(r * PictureCount + 1)), 1, PictureCount);
}

QString ProblemDealer::pictureFileName(int n)
{
    return QStringLiteral("pic%1.jpg").arg(n);
}

std::optional<Deal> ProblemDealer::deal(ExerciseSettings &settings, RandomSource &random)
{
    if (!dealable(settings))
        return std::nullopt;

    // Work on a copy so that a refused deal leaves the settings as they were.
    ExerciseSettings s = settings;
    Deal result;
    std::array<Draft, ExerciseSettings::TileCount> drafts{};
    // One fresh seed per deal is enough for every operand to be equally likely.
    random.reseedFromClock();
    bool allDifferent = false;
    while (!allDifferent && result.rounds < MaxRounds) {
        ++result.rounds;
        s.SolvedCount = 0;
        prepareRound(s, result.label2);
        if (!boundsUsable(s))
            return std::nullopt;
        for (Draft &d : drafts) {
            std::optional<Draft> accepted;
            for (int attempt = 0; !accepted && attempt < MaxAttemptsPerTile; ++attempt) {
                const int a = drawOperand(random.next(), s.FirstMin, s.FirstMax);
                const int b = drawOperand(random.next(), s.SecondMin, s.SecondMax);
                accepted = draft(s.Operation, s.Level, a, b);
            }
            if (!accepted)
                return std::nullopt;
            d = *accepted;
        }
        // Two captions are the same text exactly when they show the same two numbers, so the
        // numbers are compared instead of building texts for rounds that are thrown away.
        allDifferent = true;
        for (std::size_t i = 0; allDifferent && i + 1 < drafts.size(); ++i)
            for (std::size_t j = i + 1; allDifferent && j < drafts.size(); ++j)
                allDifferent =
                    drafts[i].left != drafts[j].left || drafts[i].right != drafts[j].right;
    }
    if (!allDifferent)
        return std::nullopt;

    for (std::size_t i = 0; i < drafts.size(); ++i) {
        const Draft &d = drafts[i];
        s.ResultTable[i] = d.result;
        result.tiles[i] = Problem{d.left, d.right, d.result, caption(s.Operation, d.left, d.right)};
    }
    result.pictureNumber = pictureNumber(random.next());
    settings = s;
    return result;
}
