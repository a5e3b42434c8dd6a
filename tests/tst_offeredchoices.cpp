// SPDX-License-Identifier: GPL-3.0-or-later
// The two screens under a class's set-up: what is not offered is greyed out, skipped by the
// keyboard and starts nothing, however it is reached.
#include "Clips.h"
#include "FormHarness.h"
#include "StartForm.h"

#include <QApplication>
#include <QGroupBox>
#include <QImage>
#include <QPushButton>

namespace {
// Division only, levels 3 and 4, the sound off and locked.
ClassSetup divisionUpstairs()
{
    return {{false, false, false, true}, {false, false, true, true}, SoundStart::Locked, false};
}

enum class Reach
{
    Click,
    QueuedClick,
    Tap,
    Call,
};
} // namespace

Q_DECLARE_METATYPE(Reach)

class TestOfferedChoices : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void startScreenGreysOutWhatIsNotOffered();
    void operationNotOfferedStartsNothing_data();
    void operationNotOfferedStartsNothing();
    void soundStartsOffAndMayBeSwitchedOn();
    void levelNotOfferedDealsNothing_data();
    void levelNotOfferedDealsNothing();
    void keyboardSkipsTheLevelsNotOffered();
    void notOfferedLooksGreyed();

private:
    void reach(QAbstractButton *button, Reach how, const std::function<void()> &call);
    std::unique_ptr<FormHarness> harness;
    StartForm *start = nullptr;
};

void TestOfferedChoices::init()
{
    harness = std::make_unique<FormHarness>(1, divisionUpstairs());
    start = new StartForm(harness->context);
    start->prepare();
    start->show();
    start->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(start));
}

void TestOfferedChoices::cleanup()
{
    delete start;
    start = nullptr;
    harness.reset();
}

void TestOfferedChoices::reach(QAbstractButton *button, Reach how,
                               const std::function<void()> &call)
{
    switch (how) {
    case Reach::Click:
        FormHarness::click(button);
        break;
    case Reach::QueuedClick:
        FormHarness::queueClick(button);
        QCoreApplication::processEvents();
        break;
    case Reach::Tap:
        FormHarness::taps(button, 1);
        break;
    case Reach::Call:
        call();
        break;
    }
    QCoreApplication::processEvents();
}

void TestOfferedChoices::startScreenGreysOutWhatIsNotOffered()
{
    for (std::size_t i = 0; i < Operations.size(); ++i) {
        const QPushButton *b = start->operationButtons[i];
        const bool offered = Operations[i] == Operation::Division;
        QCOMPARE(b->isEnabled(), offered);
        QCOMPARE(b->accessibleDescription(), offered ? QString() : GameTexts::NotOfferedToday);
    }
    // Locked off: down, and out of the child's reach.
    QVERIFY(harness->context.preferences.soundMuted);
    QVERIFY(start->soundSwitch->isChecked());
    QVERIFY(!start->soundSwitch->isEnabled());
    start->toggleSound();
    QVERIFY(harness->context.preferences.soundMuted);
    // Tab goes round the exit and the one operation offered.
    QCOMPARE(QApplication::focusWidget(), start->exitButton);
    QTest::keyClick(start->exitButton, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), start->operationButtons[3]);
    QTest::keyClick(start->operationButtons[3], Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), start->exitButton);
}

void TestOfferedChoices::operationNotOfferedStartsNothing_data()
{
    QTest::addColumn<Reach>("how");
    QTest::newRow("clicked") << Reach::Click;
    QTest::newRow("click waiting in the queue") << Reach::QueuedClick;
    QTest::newRow("tapped") << Reach::Tap;
    QTest::newRow("asked for by the program") << Reach::Call;
}

void TestOfferedChoices::operationNotOfferedStartsNothing()
{
    QFETCH(Reach, how);
    // The sound would be heard if anything started: let it be on for this row.
    harness->context.preferences.soundMuted = false;
    for (std::size_t i = 0; i < 3; ++i)
        reach(start->operationButtons[i], how,
              [this, i] { start->chooseOperation(Operations[i]); });
    QVERIFY(!start->exerciseForm());
    QVERIFY(!harness->context.choice.operation);
    QVERIFY(harness->sink.clips.isEmpty());
    reach(start->operationButtons[3], how, [this] { start->chooseOperation(Operation::Division); });
    QVERIFY(start->exerciseForm());
    QCOMPARE(harness->context.choice.operation, Operation::Division);
}

void TestOfferedChoices::soundStartsOffAndMayBeSwitchedOn()
{
    ClassSetup quiet;
    quiet.sound = SoundStart::Off;
    FormHarness h(1, quiet);
    StartForm form(h.context);
    form.prepare();
    form.show();
    QVERIFY(h.context.preferences.soundMuted);
    QVERIFY(form.soundSwitch->isChecked());
    QVERIFY(form.soundSwitch->isEnabled());
    FormHarness::click(form.soundSwitch);
    QVERIFY(!h.context.preferences.soundMuted);
    QVERIFY(!form.soundSwitch->isChecked());
    QCOMPARE(h.sink.clips, ClipList{Clips::Click});
}

void TestOfferedChoices::levelNotOfferedDealsNothing_data()
{
    operationNotOfferedStartsNothing_data();
}

void TestOfferedChoices::levelNotOfferedDealsNothing()
{
    QFETCH(Reach, how);
    ExerciseForm *form = harness->openExercise(4);
    for (int level = 1; level <= 2; ++level) {
        QAbstractButton *b = harness->level(level);
        QVERIFY(!b->isEnabled());
        QCOMPARE(b->accessibleDescription(), GameTexts::NotOfferedToday);
        reach(b, how, [form, level] { form->chooseLevel(level); });
        QVERIFY(!b->isChecked());
    }
    QVERIFY(!form->puzzleFrame->isEnabled());
    QCOMPARE(form->round().dealCount(), 0);
    QCOMPARE(harness->context.choice.level, 0);
    reach(harness->level(3), how, [form] { form->chooseLevel(3); });
    QCOMPARE(form->round().dealCount(), 1);
    QCOMPARE(harness->context.choice.level, 3);
}

void TestOfferedChoices::keyboardSkipsTheLevelsNotOffered()
{
    harness->openExercise(4);
    QAbstractButton *alto = harness->level(3);
    alto->setFocus(Qt::TabFocusReason);
    // Up from the first level offered stays on it; Tab never lands on a greyed one.
    QTest::keyClick(alto, Qt::Key_Up);
    QCOMPARE(QApplication::focusWidget(), alto);
    for (int i = 0; i < 40; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QVERIFY(QApplication::focusWidget() != harness->level(1));
        QVERIFY(QApplication::focusWidget() != harness->level(2));
    }
    QCOMPARE(harness->context.choice.level, 0);
}

void TestOfferedChoices::notOfferedLooksGreyed()
{
    // Grey through and through: no pixel with colour. Offered, the same picture has colour.
    const auto grey = [](QWidget *w) {
        const QImage image = w->grab().toImage();
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QRgb p = image.pixel(x, y);
                if (qRed(p) != qGreen(p) || qGreen(p) != qBlue(p))
                    return false;
            }
        return true;
    };
    harness->openExercise(4);
    QVERIFY(grey(harness->level(1)));
    QVERIFY(!grey(harness->level(3)));
    QVERIFY(grey(start->operationButtons[0]));
    QVERIFY(!grey(start->operationButtons[3]));
}

VORTANI_GUI_TEST_MAIN(TestOfferedChoices)
#include "tst_offeredchoices.moc"
