// SPDX-License-Identifier: GPL-3.0-or-later
// The rules of one puzzle in play, without a widget.
#include "ExerciseChoice.h"
#include "LevelTable.h"
#include "RandomSource.h"
#include "Round.h"

#include <QTest>

namespace {
ExerciseChoice choiceOf(Operation operation, int level)
{
    ExerciseChoice choice;
    choice.operation = operation;
    LevelTable::apply(choice, level);
    return choice;
}

// A round of additions at level 3, whose results have two digits or more.
Round dealtRound(quint32 seed = 3)
{
    Round round;
    ExerciseChoice choice = choiceOf(Operation::Addition, 3);
    RandomSource random = RandomSource::fixed(seed);
    [[maybe_unused]] const bool dealt = round.deal(choice, random);
    Q_ASSERT(dealt);
    return round;
}

QString rightAnswer(const Round &round, int tile)
{
    return QString::number(round.problem(tile).result);
}
} // namespace

class TestRound : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void answerIsJudged_data();
    void answerIsJudged();
    void onlyAnUnsolvedTileOfADealOpens_data();
    void onlyAnUnsolvedTileOfADealOpens();
    void twelfthRightAnswerFinishes();
    void newDealKeepsTheOpenTile();
    void refusedDealChangesNothing();
    void nextUnsolvedTile_data();
    void nextUnsolvedTile();
};

void TestRound::answerIsJudged_data()
{
    // "{R}" stands for the open tile's result; the reading rule itself is the answer parser's.
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("right");
    QTest::newRow("the result") << "{R}" << true;
    QTest::newRow("a point and zeros") << "{R}.00" << true;
    QTest::newRow("an empty box") << "" << false;
    QTest::newRow("a digit more") << "{R}1" << false;
    QTest::newRow("a fraction more") << "{R}.5" << false;
    QTest::newRow("negative") << "-{R}" << false;
}

void TestRound::answerIsJudged()
{
    QFETCH(QString, answer);
    QFETCH(bool, right);
    Round round = dealtRound();
    QVERIFY(round.open(5));
    answer.replace(QStringLiteral("{R}"), rightAnswer(round, 5));

    QCOMPARE(round.judge(answer), right ? Round::Verdict::Right : Round::Verdict::Wrong);
    QCOMPARE(round.isSolved(5), right);
    QCOMPARE(round.solvedCount(), right ? 1 : 0);
    // A wrong answer leaves the tile open for another try; a right one closes it.
    QCOMPARE(round.openTile(), right ? std::nullopt : std::optional<int>(5));
    // Nothing is judged with no tile open, and a solved tile stays solved.
    if (right) {
        QCOMPARE(round.judge(rightAnswer(round, 5)), std::nullopt);
        QCOMPARE(round.solvedCount(), 1);
    }
}

void TestRound::onlyAnUnsolvedTileOfADealOpens_data()
{
    QTest::addColumn<bool>("dealt");
    QTest::addColumn<int>("tile");
    QTest::addColumn<bool>("opens");
    QTest::newRow("a tile of the deal") << true << 11 << true;
    QTest::newRow("the solved tile") << true << 0 << false;
    QTest::newRow("before the first deal") << false << 3 << false;
    QTest::newRow("before the grid") << true << -1 << false;
    QTest::newRow("past the grid") << true << TileGrid::Count << false;
}

void TestRound::onlyAnUnsolvedTileOfADealOpens()
{
    QFETCH(bool, dealt);
    QFETCH(int, tile);
    QFETCH(bool, opens);
    Round round = dealt ? dealtRound() : Round();
    if (dealt) {
        QVERIFY(round.open(0));
        QCOMPARE(round.judge(rightAnswer(round, 0)), Round::Verdict::Right);
        QVERIFY(round.open(7));
    }
    const std::optional<int> before = round.openTile();

    QCOMPARE(round.open(tile), opens);
    QCOMPARE(round.openTile(), opens ? std::optional<int>(tile) : before);
}

void TestRound::twelfthRightAnswerFinishes()
{
    Round round = dealtRound();
    const int order[] = {5, 0, 11, 3, 8, 1, 10, 6, 2, 9, 4, 7};
    for (int k = 0; k < TileGrid::Count; ++k) {
        const int tile = order[k];
        QVERIFY(round.open(tile));
        QCOMPARE(round.judge(QStringLiteral("x")), Round::Verdict::Wrong);
        const bool last = k + 1 == TileGrid::Count;
        QCOMPARE(round.judge(rightAnswer(round, tile)),
                 last ? Round::Verdict::Finished : Round::Verdict::Right);
        QCOMPARE(round.solvedCount(), k + 1);
        QCOMPARE(round.isFinished(), last);
    }
    QCOMPARE(round.nextUnsolvedAfter(7), std::nullopt);
    for (int tile = 0; tile < TileGrid::Count; ++tile)
        QVERIFY(!round.open(tile));
}

void TestRound::newDealKeepsTheOpenTile()
{
    Round round = dealtRound();
    QVERIFY(round.open(4));
    QCOMPARE(round.judge(rightAnswer(round, 4)), Round::Verdict::Right);
    QVERIFY(round.open(2));
    const Deal before = round.currentDeal();
    ExerciseChoice choice = choiceOf(Operation::Division, 4);
    RandomSource random = RandomSource::fixed(9);

    QVERIFY(round.deal(choice, random));
    QCOMPARE(round.dealCount(), 2);
    QCOMPARE(round.solvedCount(), 0);
    QVERIFY(!round.isSolved(4));
    // The keypad goes on answering the open tile, now with its new problem.
    QCOMPARE(round.openTile(), std::optional<int>(2));
    QVERIFY(round.problem(2).caption.contains(u':'));
    QVERIFY(round.problem(2).caption != before.tiles[2].caption);
    QCOMPARE(round.judge(rightAnswer(round, 2)), Round::Verdict::Right);
    // The level's own bounds are the choice's now.
    QCOMPARE(choice.firstMin, qint16(10));
    QCOMPARE(choice.secondMax, qint16(9));
}

void TestRound::refusedDealChangesNothing()
{
    Round round = dealtRound();
    QVERIFY(round.open(1));
    QCOMPARE(round.judge(rightAnswer(round, 1)), Round::Verdict::Right);
    QVERIFY(round.open(6));
    const QString caption = round.problem(6).caption;
    ExerciseChoice choice = choiceOf(Operation::Subtraction, 1);
    choice.level = LevelTable::LevelCount + 1;
    RandomSource random = RandomSource::fixed(1);

    QVERIFY(!round.deal(choice, random));
    QCOMPARE(round.dealCount(), 1);
    QCOMPARE(round.problem(6).caption, caption);
    QVERIFY(round.isSolved(1));
    QCOMPARE(round.openTile(), std::optional<int>(6));
}

void TestRound::nextUnsolvedTile_data()
{
    QTest::addColumn<QList<int>>("solved");
    QTest::addColumn<int>("after");
    QTest::addColumn<int>("next"); // -1: none
    QTest::newRow("the next one") << QList<int>{} << 3 << 4;
    QTest::newRow("round past the last") << QList<int>{} << 11 << 0;
    QTest::newRow("round past the last, over solved ones") << QList<int>{11, 0, 1} << 10 << 2;
    QTest::newRow("only the tile itself is left")
        << QList<int>{0, 1, 2, 3, 4, 5, 6, 8, 9, 10, 11} << 7 << -1;
}

void TestRound::nextUnsolvedTile()
{
    QFETCH(QList<int>, solved);
    QFETCH(int, after);
    QFETCH(int, next);
    Round round = dealtRound();
    for (int tile : solved) {
        QVERIFY(round.open(tile));
        QVERIFY(round.judge(rightAnswer(round, tile)) != Round::Verdict::Wrong);
    }
    QCOMPARE(round.nextUnsolvedAfter(after), next < 0 ? std::nullopt : std::optional<int>(next));
}

QTEST_APPLESS_MAIN(TestRound)
#include "tst_round.moc"
