// SPDX-License-Identifier: GPL-3.0-or-later
#include "ExerciseChoice.h"
#include "LevelTable.h"
#include "ProblemDealer.h"
#include "RandomSource.h"

#include <QRegularExpression>
#include <QSet>
#include <QTest>

#include <cmath>

namespace {
constexpr Operation Add = Operation::Addition, Sub = Operation::Subtraction,
                    Mul = Operation::Multiplication, Div = Operation::Division;

ExerciseChoice choiceFor(Operation operation, int level)
{
    ExerciseChoice s;
    s.operation = operation;
    LevelTable::apply(s, level);
    return s;
}

// Every caption the rules allow for an operation and level, by trying every operand pair.
QSet<QString> allCaptions(Operation operation, int level)
{
    ExerciseChoice s = choiceFor(operation, level);
    if (operation == Div && level >= 3) {
        s.firstMax = level == 3 ? 100 : 999;
        s.firstMin = 10;
        s.secondMax = 9;
        s.secondMin = 1;
    }
    QSet<QString> captions;
    for (int a = s.firstMin; a <= s.firstMax; ++a)
        for (int b = s.secondMin; b <= s.secondMax; ++b)
            if (const auto p = ProblemDealer::makeProblem(operation, level, a, b))
                captions.insert(p->caption);
    return captions;
}
} // namespace

class TestDealer : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void numberTextAndSeparators();
    void drawOperandCoversTheRange_data();
    void drawOperandCoversTheRange();
    void dealsFollowTheRules_data();
    void dealsFollowTheRules();
    void problemCounts_data();
    void problemCounts();
    void boundsReplacedForDivision_data();
    void boundsReplacedForDivision();
    void levelAppliedToTheSettings_data();
    void levelAppliedToTheSettings();
    void pictureNumbersAreUniform();
    void pictureFileNames_data();
    void pictureFileNames();
    void unusableSettingsAreRefused_data();
    void unusableSettingsAreRefused();
    void largestProductFitsTheTable();
};

void TestDealer::numberTextAndSeparators()
{
    QCOMPARE(ProblemDealer::numberText(7), QStringLiteral(" 7"));
    QCOMPARE(ProblemDealer::numberText(120), QStringLiteral(" 120"));
    QCOMPARE(ProblemDealer::numberText(-3), QStringLiteral("-3"));
    QCOMPARE(ProblemDealer::makeProblem(Add, 1, 7, 5)->caption, QStringLiteral(" 7 + 5"));
    QCOMPARE(ProblemDealer::makeProblem(Sub, 1, 9, 4)->caption, QStringLiteral(" 9 - 4"));
    QCOMPARE(ProblemDealer::makeProblem(Mul, 1, 6, 3)->caption, QStringLiteral(" 6 x 3"));
    QCOMPARE(ProblemDealer::makeProblem(Div, 1, 7, 3)->caption, QStringLiteral(" 21 : 7"));
    QCOMPARE(ProblemDealer::makeProblem(Div, 2, 47, 5)->result, 9);
}

void TestDealer::drawOperandCoversTheRange_data()
{
    QTest::addColumn<double>("r");
    QTest::addColumn<int>("min");
    QTest::addColumn<int>("max");
    QTest::addColumn<int>("expected");
    const double almostOne = std::nextafter(1.0, 0.0);
    QTest::newRow("r = 0 gives min") << 0.0 << 1 << 10 << 1;
    QTest::newRow("r just below 1 gives max") << almostOne << 1 << 10 << 10;
    QTest::newRow("r just below 1, wide range") << almostOne << 100 << 999 << 999;
    QTest::newRow("middle") << 0.5 << 10 << 99 << 55;
    QTest::newRow("single value") << 0.9 << 5 << 5 << 5;
}

void TestDealer::drawOperandCoversTheRange()
{
    QFETCH(double, r);
    QFETCH(int, min);
    QFETCH(int, max);
    QFETCH(int, expected);
    QCOMPARE(ProblemDealer::drawOperand(r, min, max), expected);
}

void TestDealer::dealsFollowTheRules_data()
{
    QTest::addColumn<Operation>("operation");
    QTest::addColumn<int>("level");
    const char *names[] = {"addition", "subtraction", "multiplication", "division"};
    for (const Operation op : Operations)
        for (int level = 1; level <= 4; ++level)
            QTest::addRow("%s level %d", names[operationIndex(op)], level) << op << level;
}

void TestDealer::dealsFollowTheRules()
{
    QFETCH(Operation, operation);
    QFETCH(int, level);
    static const QRegularExpression format(QStringLiteral("^ (\\d+) ([-+x:]) (\\d+)$"));
    const QString sign = ProblemDealer::separator(operation).mid(1);
    const LevelBounds lb = *LevelTable::bounds(level);

    RandomSource random = RandomSource::fixed(quint32(int(operation) * 10 + level));
    for (int round = 0; round < 300; ++round) {
        ExerciseChoice s = choiceFor(operation, level);
        const auto deal = ProblemDealer::deal(s, random);
        QVERIFY(deal);
        QSet<QString> captions;
        for (int i = 0; i < 12; ++i) {
            const Problem &p = deal->tiles[std::size_t(i)];
            captions.insert(p.caption);
            const auto m = format.match(p.caption);
            QVERIFY2(m.hasMatch(), qPrintable(p.caption));
            QCOMPARE(m.captured(2), sign);
            const int left = m.captured(1).toInt();
            const int right = m.captured(3).toInt();
            switch (operation) {
            case Add:
            case Sub:
            case Mul:
                QVERIFY(left >= lb.firstMin && left <= lb.firstMax);
                QVERIFY(right >= lb.secondMin && right <= lb.secondMax);
                QCOMPARE(p.result, operation == Add   ? left + right
                                   : operation == Sub ? left - right
                                                      : left * right);
                if (operation == Sub)
                    QVERIFY2(p.result > 0, qPrintable(p.caption));
                break;
            case Div:
                QCOMPARE(p.result, left / right);
                if (level == 1) {
                    QVERIFY(right >= 2 && right <= 10);
                    QVERIFY(p.result >= 2 && p.result <= 9 && p.result <= right);
                    QCOMPARE(left % right, 0);
                } else if (level == 2) {
                    QVERIFY2(left % right != 0, qPrintable(p.caption));
                    QVERIFY(p.result >= 1 && p.result <= 10);
                    QVERIFY(left >= 10 && left <= 100 && right >= 2 && right <= 9);
                } else {
                    QCOMPARE(left % right, 0);
                    QVERIFY(right >= 2 && right <= 9);
                    QVERIFY(p.result >= (level == 3 ? 10 : 100));
                    QVERIFY(p.result <= (level == 3 ? 100 : 999));
                }
                break;
            }
        }
        QCOMPARE(captions.size(), 12);
        QCOMPARE(deal->wholePartOnly.has_value(), operation == Div);
        if (operation == Div)
            QCOMPARE(*deal->wholePartOnly, level == 2);
        QVERIFY(deal->pictureNumber >= 1 && deal->pictureNumber <= ProblemDealer::PictureCount);
    }
}

void TestDealer::problemCounts_data()
{
    QTest::addColumn<Operation>("operation");
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("smallest");
    QTest::addColumn<QString>("largest");
    // clang-format off
    QTest::newRow("division level 1") << Div << 1 << 44 << " 4 : 2" << " 90 : 10";
    QTest::newRow("division level 2") << Div << 2 << 338 << "" << "";
    QTest::newRow("addition level 1") << Add << 1 << 90 << " 1 + 1" << " 10 + 9";
    QTest::newRow("subtraction level 1") << Sub << 1 << 45 << " 2 - 1" << " 10 - 9";
    // clang-format on
}

void TestDealer::problemCounts()
{
    QFETCH(Operation, operation);
    QFETCH(int, level);
    QFETCH(int, count);
    QFETCH(QString, smallest);
    QFETCH(QString, largest);
    const QSet<QString> all = allCaptions(operation, level);
    QCOMPARE(all.size(), count);
    if (!smallest.isEmpty()) {
        QVERIFY(all.contains(smallest));
        QVERIFY(all.contains(largest));
    }
    // Dealing keeps finding new captions until it has seen exactly these, and no others.
    RandomSource random = RandomSource::fixed(99);
    QSet<QString> dealt;
    for (int round = 0; round < 4000 && dealt.size() < all.size(); ++round) {
        ExerciseChoice s = choiceFor(operation, level);
        const auto deal = ProblemDealer::deal(s, random);
        QVERIFY(deal);
        for (const Problem &p : deal->tiles) {
            QVERIFY2(all.contains(p.caption), qPrintable(p.caption));
            dealt.insert(p.caption);
        }
    }
    QCOMPARE(dealt.size(), all.size());
}

void TestDealer::boundsReplacedForDivision_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<QList<int>>("bounds");
    QTest::newRow("level 1 keeps the table") << 1 << QList<int>{10, 1, 9, 1};
    QTest::newRow("level 2 keeps the table") << 2 << QList<int>{100, 10, 9, 1};
    QTest::newRow("level 3 replaced") << 3 << QList<int>{100, 10, 9, 1};
    QTest::newRow("level 4 replaced") << 4 << QList<int>{999, 10, 9, 1};
}

void TestDealer::boundsReplacedForDivision()
{
    QFETCH(int, level);
    QFETCH(QList<int>, bounds);
    ExerciseChoice s = choiceFor(Div, level);
    RandomSource random = RandomSource::fixed(3);
    QVERIFY(ProblemDealer::deal(s, random));
    QCOMPARE((QList<int>{s.firstMax, s.firstMin, s.secondMax, s.secondMin}), bounds);
}

void TestDealer::levelAppliedToTheSettings_data()
{
    // firstMax, firstMin, secondMax, secondMin: stored by the choice, then left by a deal.
    QTest::addColumn<Operation>("operation");
    QTest::addColumn<int>("level");
    QTest::addColumn<QList<int>>("chosen"); // empty: the level is refused
    QTest::addColumn<QList<int>>("dealt");
    const QList<int> levels[] = {
        {10, 1, 9, 1}, {100, 10, 9, 1}, {100, 10, 99, 10}, {999, 100, 99, 10}};
    const char *names[] = {"addition", "subtraction", "multiplication", "division"};
    for (const Operation op : Operations) {
        for (int level = 1; level <= 4; ++level) {
            const QList<int> &chosen = levels[level - 1];
            QList<int> dealt = chosen;
            if (op == Div && level == 3)
                dealt = {100, 10, 9, 1};
            else if (op == Div && level == 4)
                dealt = {999, 10, 9, 1};
            QTest::addRow("%s level %d", names[operationIndex(op)], level)
                << op << level << chosen << dealt;
        }
    }
    QTest::newRow("level 0 refused") << Add << 0 << QList<int>{} << QList<int>{};
    QTest::newRow("level 5 refused") << Div << 5 << QList<int>{} << QList<int>{};
}

void TestDealer::levelAppliedToTheSettings()
{
    QFETCH(Operation, operation);
    QFETCH(int, level);
    QFETCH(QList<int>, chosen);
    QFETCH(QList<int>, dealt);
    const auto bounds = [](const ExerciseChoice &s) {
        return QList<int>{s.firstMax, s.firstMin, s.secondMax, s.secondMin};
    };
    // Left over from a game at another level.
    ExerciseChoice s;
    s.operation = operation;
    s.level = 2;
    s.firstMax = 999;
    s.firstMin = 10;
    s.secondMax = 9;
    s.secondMin = 1;
    const ExerciseChoice before = s;
    QCOMPARE(LevelTable::apply(s, level), !chosen.isEmpty());
    if (chosen.isEmpty()) {
        QCOMPARE(s.level, before.level);
        QCOMPARE(bounds(s), bounds(before));
        return;
    }
    QCOMPARE(int(s.level), level);
    QCOMPARE(bounds(s), chosen);
    RandomSource random = RandomSource::fixed(5);
    QVERIFY(ProblemDealer::deal(s, random));
    QCOMPARE(bounds(s), dealt);
}

void TestDealer::pictureNumbersAreUniform()
{
    RandomSource random = RandomSource::fixed(2024);
    const int pictures = ProblemDealer::PictureCount;
    QList<int> seen(pictures + 1, 0);
    const int deals = 1000 * pictures;
    for (int i = 0; i < deals; ++i) {
        ExerciseChoice s = choiceFor(Mul, 2);
        ++seen[ProblemDealer::deal(s, random)->pictureNumber];
    }
    QCOMPARE(seen[0], 0);
    for (int n = 1; n <= pictures; ++n)
        QVERIFY2(seen[n] > 800 && seen[n] < 1200, qPrintable(QString::number(seen[n])));
    QCOMPARE(ProblemDealer::pictureNumber(0.0), 1);
    QCOMPARE(ProblemDealer::pictureNumber(std::nextafter(1.0, 0.0)), pictures);
}

void TestDealer::pictureFileNames_data()
{
    QTest::addColumn<int>("n");
    QTest::addColumn<QString>("name");
    QTest::newRow("7 without a leading zero") << 7 << "pic7.jpg";
    QTest::newRow("30") << 30 << "pic30.jpg";
    QTest::newRow("1") << 1 << "pic1.jpg";
}

void TestDealer::pictureFileNames()
{
    QFETCH(int, n);
    QFETCH(QString, name);
    QCOMPARE(ProblemDealer::pictureFileName(n), name);
}

void TestDealer::unusableSettingsAreRefused_data()
{
    QTest::addColumn<int>("operation");
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("firstMin");
    QTest::addColumn<int>("firstMax");
    QTest::newRow("no operation chosen") << 0 << 1 << 1 << 10;
    QTest::newRow("division without a level") << 4 << 0 << 1 << 10;
    QTest::newRow("addition without a level") << 1 << 0 << 1 << 10;
    QTest::newRow("zero operands (division by zero)") << 1 << 1 << 0 << 10;
    QTest::newRow("empty range") << 1 << 1 << 10 << 1;
    QTest::newRow("too few problems for twelve tiles") << 1 << 1 << 1 << 1;
}

void TestDealer::unusableSettingsAreRefused()
{
    QFETCH(int, operation);
    QFETCH(int, level);
    QFETCH(int, firstMin);
    QFETCH(int, firstMax);
    ExerciseChoice s = choiceFor(Add, 1);
    s.operation = operation ? std::optional(Operation(operation)) : std::nullopt;
    s.level = level;
    s.firstMin = qint16(firstMin);
    s.firstMax = qint16(firstMax);
    if (firstMin == firstMax)
        s.secondMax = s.secondMin;
    const ExerciseChoice before = s;
    RandomSource random = RandomSource::fixed(1);
    QVERIFY(!ProblemDealer::deal(s, random));
    QCOMPARE((QList<int>{s.firstMax, s.firstMin, s.secondMax, s.secondMin}),
             (QList<int>{before.firstMax, before.firstMin, before.secondMax, before.secondMin}));
}

void TestDealer::largestProductFitsTheTable()
{
    const auto p = ProblemDealer::makeProblem(Mul, 4, 999, 99);
    QCOMPARE(p->caption, QStringLiteral(" 999 x 99"));
    QCOMPARE(p->result, 98901);
}

QTEST_APPLESS_MAIN(TestDealer)
#include "tst_dealer.moc"
