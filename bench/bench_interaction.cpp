// SPDX-License-Identifier: GPL-3.0-or-later
// What a child waits for after a click: a level choice (deal, picture load, repaint of the puzzle),
// a press of OK (judgement, tile hidden, repaint), and the first choice of an operation, which
// builds the exercise form. Each sample is one real mouse event timed alone, so that the set-up a
// press needs (a chosen tile, a typed answer) stays outside it; QBENCHMARK's wall clock counts
// whole milliseconds in Qt 6.4, too coarse for that, so the median in nanoseconds is handed to
// QtTest as the result. The recording sink stands in for the audio output, not the form's work.
#include "FormHarness.h"
#include "ImageBox.h"
#include "StartForm.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QPushButton>
#include <QScopeGuard>

#include <algorithm>
#include <memory>
#include <vector>

namespace {
constexpr int Samples = 201;

QtMessageHandler passOn = nullptr;

// The offscreen platform warns on every raise(); printing that is no work of the game's.
void withoutRaiseWarnings(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (passOn && text != QLatin1String("This plugin does not support raise()"))
        passOn(type, context, text);
}

// Times each event alone, reports the median and prints the spread beside it.
template <typename SetUp, typename Event> void reportMedian(SetUp setUp, Event event)
{
    std::vector<qint64> ns;
    ns.reserve(Samples);
    QElapsedTimer timer;
    for (int i = 0; i < Samples; ++i) {
        setUp();
        QCoreApplication::processEvents(); // nothing left over from the set-up is timed
        timer.start();
        event();
        ns.push_back(timer.nsecsElapsed());
    }
    std::sort(ns.begin(), ns.end());
    const auto ms = [&](double quantile) {
        return QString::number(double(ns[std::size_t(quantile * (Samples - 1))]) / 1e6, 'f', 3);
    };
    qInfo("%d events: median %s ms, 10%% %s ms, 90%% %s ms, max %s ms", Samples,
          qPrintable(ms(0.5)), qPrintable(ms(0.1)), qPrintable(ms(0.9)), qPrintable(ms(1.0)));
    QTest::setBenchmarkResult(qreal(ns[Samples / 2]), QTest::WalltimeNanoseconds);
}
} // namespace

class BenchInteraction : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void levelClick_data();
    void levelClick();
    void answerPress_data();
    void answerPress();
    void operationClick();
    void cleanupTestCase();

private:
    ExerciseForm *formFor(int operation);
    int standingTile(ExerciseForm *f);

    std::unique_ptr<FormHarness> harness;
    int operationShown = 0;
};

// Building the form is not what is measured: one per operation, kept across rows and reruns.
ExerciseForm *BenchInteraction::formFor(int operation)
{
    if (!harness || operationShown != operation || !harness->form) {
        harness = std::make_unique<FormHarness>(11);
        harness->openExercise(operation);
        operationShown = operation;
    }
    harness->sink.clips.clear();
    harness->sink.images.clear();
    return harness->form;
}

// A tile not yet solved; a solved-out puzzle gets a fresh deal first.
int BenchInteraction::standingTile(ExerciseForm *f)
{
    if (f->puzzleFrame->isEnabled())
        for (int i = 0; i < TileGrid::Count; ++i)
            if (f->tiles[std::size_t(i)]->isVisible())
                return i;
    FormHarness::click(harness->level(2));
    return 0;
}

void BenchInteraction::levelClick_data()
{
    QTest::addColumn<int>("operation");
    QTest::addColumn<int>("level");
    QTest::newRow("addition, level 1") << 1 << 1;
    QTest::newRow("subtraction, level 2") << 2 << 2;
    QTest::newRow("multiplication, level 3") << 3 << 3;
    // The dealer's widest search.
    QTest::newRow("division, level 4") << 4 << 4;
}

void BenchInteraction::levelClick()
{
    QFETCH(int, operation);
    QFETCH(int, level);
    ExerciseForm *f = formFor(operation);
    QAbstractButton *option = harness->level(level);
    reportMedian([] {},
                 [&] {
                     FormHarness::click(option);
                     f->puzzleFrame->repaint();
                 });
    // A fast failure path is no measurement: the deal and the picture must have happened.
    QCOMPARE(harness->sink.clips.count(102), Samples);
    QVERIFY(!f->puzzlePicture->isPlain());
    QVERIFY(!f->puzzlePicture->pixmap().isNull());
    QVERIFY(FormHarness::expectedFromCaption(f->tiles[0]->text()) >= 0);
}

void BenchInteraction::answerPress_data()
{
    QTest::addColumn<bool>("right");
    QTest::newRow("right answer") << true;
    QTest::newRow("wrong answer") << false;
}

void BenchInteraction::answerPress()
{
    QFETCH(bool, right);
    ExerciseForm *f = formFor(3);
    QPushButton *chosen = nullptr;
    int judged = 0;
    reportMedian(
        [&] {
            chosen = f->tiles[std::size_t(standingTile(f))];
            FormHarness::click(chosen);
            const qint64 expected = FormHarness::expectedFromCaption(chosen->text());
            harness->typeOnKeypad(QString::number(right ? expected : expected + 1));
            harness->sink.clips.clear();
        },
        [&] {
            FormHarness::press(f->okKey);
            f->puzzleFrame->repaint();
            // A press that judged nothing would measure nothing.
            judged +=
                chosen->isVisible() != right && harness->sink.clips.value(0) == (right ? 104 : 103);
        });
    QCOMPARE(judged, Samples);
}

void BenchInteraction::operationClick()
{
    FormHarness game(5); // its context only: the start screen builds its own exercise forms
    StartForm start(game.context);
    start.prepare();
    start.show();
    QVERIFY(QTest::qWaitForWindowExposed(&start));
    passOn = qInstallMessageHandler(withoutRaiseWarnings);
    const auto restore = qScopeGuard([] { qInstallMessageHandler(passOn); });
    int opened = 0;
    reportMedian([&] { delete start.exerciseForm(); },
                 [&] {
                     FormHarness::click(start.operationButtons[0]);
                     if (ExerciseForm *f = start.exerciseForm()) {
                         f->repaint();
                         opened += f->isVisible();
                     }
                 });
    QCOMPARE(opened, Samples);
}

void BenchInteraction::cleanupTestCase()
{
    harness.reset();
}

VORTANI_GUI_TEST_MAIN(BenchInteraction)
#include "bench_interaction.moc"
