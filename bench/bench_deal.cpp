// SPDX-License-Identifier: GPL-3.0-or-later
// How long a deal takes: the engine alone for the tightest and a wide case, and the form's
// dealPuzzle with its picture load.
#include "ExerciseChoice.h"
#include "FormHarness.h"
#include "LevelTable.h"
#include "ProblemDealer.h"

#include <QApplication>

class BenchDeal : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void engineDeal_data();
    void engineDeal();
    void formDealWithPicture();
};

void BenchDeal::engineDeal_data()
{
    QTest::addColumn<int>("operation");
    QTest::addColumn<int>("level");
    QTest::newRow("division level 1") << 4 << 1;
    QTest::newRow("addition level 4") << 1 << 4;
}

void BenchDeal::engineDeal()
{
    QFETCH(int, operation);
    QFETCH(int, level);
    RandomSource random = RandomSource::fromClock();
    ExerciseChoice s;
    s.operation = Operation(operation);
    QBENCHMARK
    {
        LevelTable::apply(s, level);
        ProblemDealer::deal(s, random);
    }
}

void BenchDeal::formDealWithPicture()
{
    FormHarness harness(7);
    ExerciseForm *f = harness.openExercise(3);
    FormHarness::click(f->levelButtons[1]);
    QBENCHMARK
    {
        f->dealPuzzle();
    }
}

VORTANI_GUI_TEST_MAIN(BenchDeal)
#include "bench_deal.moc"
