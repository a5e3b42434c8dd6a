// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProblemDealer.h"

#include "ExerciseChoice.h"
#include "LevelTable.h"
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

std::optional<Draft> draft(ProblemShape shape, qint16 leastFirst, int a, int b)
{
    switch (shape) {
    case ProblemShape::Sum:
        return Draft{a, b, a + b};
    case ProblemShape::Difference:
        if (b > a || a - b == 0)
            return std::nullopt;
        return Draft{a, b, a - b};
    case ProblemShape::Product:
        return Draft{a, b, a * b};
    case ProblemShape::ProductOverFirst:
        if (b == 1 || b > a)
            return std::nullopt;
        return Draft{a * b, a, (a * b) / a};
    case ProblemShape::InexactQuotient:
        if (a / b > 10 || a % b == 0)
            return std::nullopt;
        return Draft{a, b, a / b};
    case ProblemShape::ProductOverSecond:
        if (b == 1 || a < leastFirst)
            return std::nullopt;
        return Draft{a * b, b, (a * b) / b};
    }
    return std::nullopt;
}

bool boundsUsable(const ExerciseChoice &s)
{
    return s.firstMin >= 1 && s.secondMin >= 1 && s.firstMin <= s.firstMax &&
           s.secondMin <= s.secondMax;
}
} // namespace

QString ProblemDealer::numberText(qint32 n)
{
    return n < 0 ? QString::number(n) : QLatin1Char(' ') + QString::number(n);
}

QString ProblemDealer::separator(Operation operation)
{
    switch (operation) {
    case Operation::Addition:
        return QStringLiteral(" +");
    case Operation::Subtraction:
        return QStringLiteral(" -");
    case Operation::Multiplication:
        return QStringLiteral(" x");
    case Operation::Division:
        return QStringLiteral(" :");
    }
    return {};
}

int ProblemDealer::drawOperand(double r, int min, int max)
{
    const int value = int(std::floor((max - min + 1) * r + min));
    return std::clamp(value, min, max);
}

QString ProblemDealer::caption(Operation operation, qint32 left, qint32 right)
{
    return numberText(left) + separator(operation) + numberText(right);
}

std::optional<Problem> ProblemDealer::makeProblem(Operation operation, int level, int a, int b)
{
    const std::optional<LevelRule> rule = LevelTable::rule(operation, level);
    if (!rule)
        return std::nullopt;
    const auto d = draft(rule->shape, rule->leastFirst, a, b);
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

std::optional<Deal> ProblemDealer::deal(ExerciseChoice &choice, RandomSource &random)
{
    const std::optional<Operation> operation = choice.operation;
    const std::optional<LevelRule> rule =
        operation ? LevelTable::rule(*operation, choice.level) : std::nullopt;
    if (!rule)
        return std::nullopt;

    // Work on a copy so that a refused deal leaves the choice as it was.
    ExerciseChoice s = choice;
    Deal result;
    result.wholePartOnly = rule->wholePartOnly;
    if (rule->dealtBounds)
        LevelTable::setBounds(s, *rule->dealtBounds);
    if (!boundsUsable(s))
        return std::nullopt;
    std::array<Draft, TileGrid::Count> drafts{};
    // One fresh seed per deal is enough for every operand to be equally likely.
    random.reseedFromClock();
    bool allDifferent = false;
    while (!allDifferent && result.rounds < MaxRounds) {
        ++result.rounds;
        for (Draft &d : drafts) {
            std::optional<Draft> accepted;
            for (int attempt = 0; !accepted && attempt < MaxAttemptsPerTile; ++attempt) {
                const int a = drawOperand(random.next(), s.firstMin, s.firstMax);
                const int b = drawOperand(random.next(), s.secondMin, s.secondMax);
                accepted = draft(rule->shape, rule->leastFirst, a, b);
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
        result.tiles[i] = Problem{d.left, d.right, d.result, caption(*operation, d.left, d.right)};
    }
    result.pictureNumber = pictureNumber(random.next());
    choice = s;
    return result;
}
