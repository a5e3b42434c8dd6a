// SPDX-License-Identifier: GPL-3.0-or-later
#include "Clips.h"
#include "FormGeometry.h"
#include "FormHarness.h"
#include "ImageBox.h"
#include "StartForm.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

namespace {
bool showsHand(const QWidget *w)
{
    return w->testAttribute(Qt::WA_SetCursor) && w->cursor().shape() == Qt::BitmapCursor &&
           w->cursor().hotSpot() == QPoint(6, 5);
}
} // namespace

class TestStartScreen : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void loadsWithVersionAndFocusOnExit();
    void soundSwitch_data();
    void soundSwitch();
    void switchShowsItsTwoPictures();
    void operationsOpenTheExerciseScreen_data();
    void operationsOpenTheExerciseScreen();
    void leavingAndComingBackGivesAFreshScreen();
    void choosingAgainWhileOpenOnlyRaisesIt_data();
    void choosingAgainWhileOpenOnlyRaisesIt();
    void closingTheExerciseThroughItsFrameUnloadsIt();
    void exitEndsTheProgramSilently();
    void secondChoiceDuringTheFirstsSound_data();
    void secondChoiceDuringTheFirstsSound();
    void leavingWhileAHandlerWaitsForItsSound_data();
    void leavingWhileAHandlerWaitsForItsSound();
    void focusFollowsThePointerOverButtonsOnly_data();
    void focusFollowsThePointerOverButtonsOnly();
    void handPointerOnClickableControls();

private:
    StartForm *openStart();
    std::unique_ptr<FormHarness> harness;
    StartForm *start = nullptr;
};

void TestStartScreen::init()
{
    harness = std::make_unique<FormHarness>();
    harness->context.preferences.showHints = false;
    start = openStart();
}

void TestStartScreen::cleanup()
{
    delete start;
    start = nullptr;
    harness.reset();
}

StartForm *TestStartScreen::openStart()
{
    auto *f = new StartForm(harness->context);
    f->prepare();
    f->show();
    f->activateWindow();
    if (!QTest::qWaitForWindowActive(f))
        qWarning("start form did not become active");
    return f;
}

void TestStartScreen::loadsWithVersionAndFocusOnExit()
{
    QCOMPARE(start->versionLabel->text(), QStringLiteral("Versione 3.5"));
    QVERIFY(harness->context.preferences.showHints);
    QCOMPARE(QApplication::focusWidget(), start->exitButton);
    QCOMPARE(start->size(), FormGeometry::FormSize);
    QCOMPARE(start->windowTitle(), GameTexts::WindowTitle);
    QVERIFY(start->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(!start->soundSwitch->isChecked());
    QVERIFY(harness->sink.clips.isEmpty());
}

void TestStartScreen::soundSwitch_data()
{
    QTest::addColumn<int>("key"); // 0: a mouse click
    QTest::newRow("clicked") << 0;
    QTest::newRow("Space") << int(Qt::Key_Space);
    QTest::newRow("Return") << int(Qt::Key_Return);
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter);
}

void TestStartScreen::soundSwitch()
{
    QFETCH(int, key);
    const auto press = [this, key] { FormHarness::activate(start->soundSwitch, key); };
    // First press: silent, and the sound goes off; second: back on, with a click.
    press();
    QVERIFY(harness->context.preferences.soundMuted);
    QVERIFY(start->soundSwitch->isChecked());
    QVERIFY(harness->sink.clips.isEmpty());
    press();
    QVERIFY(!harness->context.preferences.soundMuted);
    QVERIFY(!start->soundSwitch->isChecked());
    QCOMPARE(harness->sink.clips, ClipList{Clips::Click});
}

void TestStartScreen::switchShowsItsTwoPictures()
{
    // The loudspeaker while the sound is on, the crossed one while it is off, drawn sharp at
    // a fractional density in whichever form the build packs pictures.
    const qreal scale = 1.5;
    const QIcon icon = start->soundSwitch->icon();
    const QSize size = start->soundSwitch->iconSize();
    QImage on = icon.pixmap(size, scale, QIcon::Normal, QIcon::Off).toImage();
    QImage off = icon.pixmap(size, scale, QIcon::Normal, QIcon::On).toImage();
    QVERIFY(!on.isNull() && !off.isNull());
    QCOMPARE(on.size(), size * scale);
    QCOMPARE(off.size(), size * scale);
    QVERIFY(on != off);
}

void TestStartScreen::operationsOpenTheExerciseScreen_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("operation");
    QTest::addColumn<bool>("muted");
    QTest::addColumn<int>("key"); // 0: a mouse click, -1: a tap
    // clang-format off
    QTest::newRow("addition") << "operationButton_0" << 1 << false << 0;
    QTest::newRow("subtraction, silent") << "operationButton_1" << 2 << true << 0;
    QTest::newRow("multiplication") << "operationButton_2" << 3 << false << 0;
    QTest::newRow("division") << "operationButton_3" << 4 << false << 0;
    QTest::newRow("addition by Space") << "operationButton_0" << 1 << false << int(Qt::Key_Space);
    QTest::newRow("subtraction by Return") << "operationButton_1" << 2 << false << int(Qt::Key_Return);
    QTest::newRow("multiplication by a tap") << "operationButton_2" << 3 << false << -1;
    QTest::newRow("division by keypad Enter") << "operationButton_3" << 4 << false << int(Qt::Key_Enter);
    // clang-format on
}

void TestStartScreen::operationsOpenTheExerciseScreen()
{
    QFETCH(QString, button);
    QFETCH(int, operation);
    QFETCH(bool, muted);
    QFETCH(int, key);
    if (muted)
        FormHarness::click(start->soundSwitch);
    harness->sink.clips.clear();
    auto *target = start->findChild<QPushButton *>(button);
    FormHarness::activate(target, key);
    ExerciseForm *exercise = start->exerciseForm();
    QVERIFY(exercise);
    QVERIFY(exercise->isVisible());
    QVERIFY(start->isVisible()); // stays loaded beneath
    QVERIFY(!exercise->parentWidget());
    QVERIFY(harness->context.choice.operation == Operation(operation));
    QCOMPARE(exercise->titleLabel->text(), titlesFor(operation).title);
    QCOMPARE(exercise->operationLabel->text(), titlesFor(operation).label);
    QCOMPARE(exercise->verdictLine->text(), GameTexts::LevelHint);
    QCOMPARE(harness->sink.clips, muted ? ClipList{} : ClipList{Clips::Click});
    QCOMPARE(harness->inconsistency(start), QString());
}

void TestStartScreen::leavingAndComingBackGivesAFreshScreen()
{
    FormHarness::click(start->soundSwitch); // sound off, kept across visits
    FormHarness::click(start->operationButtons[1]);
    QPointer<ExerciseForm> first = start->exerciseForm();
    harness->form = first;
    FormHarness::click(first->levelButtons[1]);
    harness->answerRight(0);
    harness->answerRight(5);
    FormHarness::click(first->tiles[7]);
    FormHarness::press(first->okKey); // a wrong answer: sets the big font, clears the hints
    QVERIFY(!harness->context.preferences.showHints);

    FormHarness::click(first->exitButton);
    QTRY_VERIFY(!first);
    QVERIFY(start->isVisible());
    QVERIFY(harness->context.preferences.showHints);

    FormHarness::click(start->operationButtons[3]);
    ExerciseForm *second = start->exerciseForm();
    QVERIFY(second);
    QCOMPARE(second->titleLabel->text(), titlesFor(4).title);
    QCOMPARE(second->operationLabel->text(), titlesFor(4).label);
    QCOMPARE(second->verdictLine->text(), GameTexts::LevelHint);
    QCOMPARE(second->verdictLine->font().pointSizeF(), 18.0);
    for (const PictureOptionButton *o : second->levelButtons)
        QVERIFY(!o->isChecked());
    QVERIFY(!second->printButton->isEnabled());
    QVERIFY(!second->puzzleFrame->isEnabled());
    QCOMPARE(second->round().solvedCount(), 0);
    QVERIFY(harness->context.preferences.soundMuted);
    QVERIFY(harness->context.choice.operation == Operation(4));
    QVERIFY(harness->sink.clips.isEmpty());
    QCOMPARE(harness->inconsistency(start), QString());
}

void TestStartScreen::choosingAgainWhileOpenOnlyRaisesIt_data()
{
    QTest::addColumn<bool>("sameOperation");
    QTest::newRow("same operation: the open screen, as it was") << true;
    QTest::newRow("another operation: a fresh screen for it") << false;
}

void TestStartScreen::choosingAgainWhileOpenOnlyRaisesIt()
{
    QFETCH(bool, sameOperation);
    FormHarness::click(start->operationButtons[0]);
    QPointer<ExerciseForm> exercise = start->exerciseForm();
    FormHarness::click(exercise->levelButtons[0]);
    const QString caption = exercise->tiles[0]->text();
    if (sameOperation) {
        start->chooseOperation(Operation::Addition);
        QCOMPARE(start->exerciseForm(), exercise.data());
        QCOMPARE(exercise->tiles[0]->text(), caption);
        QCOMPARE(exercise->titleLabel->text(), titlesFor(1).title);
        return;
    }
    // Tiles dealt for multiplication under the addition's title would be plainly wrong.
    start->chooseOperation(Operation::Multiplication);
    ExerciseForm *fresh = start->exerciseForm();
    QVERIFY(fresh && fresh != exercise.data());
    QCOMPARE(fresh->titleLabel->text(), titlesFor(3).title);
    QTRY_VERIFY(!exercise);
    FormHarness::click(fresh->levelButtons[0]);
    QVERIFY(fresh->tiles[0]->text().contains(u" x "));
}

void TestStartScreen::closingTheExerciseThroughItsFrameUnloadsIt()
{
    FormHarness::click(start->operationButtons[0]);
    QPointer<ExerciseForm> exercise = start->exerciseForm();
    exercise->close();
    QTRY_VERIFY(!exercise);
    QVERIFY(start->isVisible());
    FormHarness::click(start->operationButtons[0]);
    QVERIFY(start->exerciseForm());
}

void TestStartScreen::exitEndsTheProgramSilently()
{
    FormHarness::click(start->operationButtons[0]);
    harness->sink.clips.clear();
    QTimer::singleShot(0, start, [this] { FormHarness::click(start->exitButton); });
    QTimer::singleShot(5000, qApp, [] { QCoreApplication::exit(99); }); // safety net
    QCOMPARE(QApplication::exec(), 0);
    QVERIFY(harness->sink.clips.isEmpty());
    QVERIFY(!start->isVisible());
}

void TestStartScreen::secondChoiceDuringTheFirstsSound_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("queued");
    QTest::addColumn<int>("operation"); // shown in the end; 0: levels, not operations
    QTest::newRow("two operations") << "operationButton_3"
                                    << "operationButton_2" << 3;
    QTest::newRow("two levels") << "levelButton_3"
                                << "levelButton_0" << 0;
}

void TestStartScreen::secondChoiceDuringTheFirstsSound()
{
    // A click already queued runs inside the first click's sound. What is shown in the end and
    // what is dealt must agree.
    QFETCH(QString, first);
    QFETCH(QString, queued);
    QFETCH(int, operation);
    const bool levels = operation == 0;
    if (levels) {
        FormHarness::click(start->operationButtons[1]);
        harness->form = start->exerciseForm();
    }
    QWidget *form = levels ? static_cast<QWidget *>(start->exerciseForm()) : start;
    auto *late = form->findChild<QAbstractButton *>(queued);
    FormHarness::queueClick(late);
    FormHarness::click(form->findChild<QAbstractButton *>(first));
    QCoreApplication::processEvents();
    QCOMPARE(harness->inconsistency(start), QString());
    const ExerciseChoice &s = harness->context.choice;
    ExerciseForm *exercise = start->exerciseForm();
    if (!levels) {
        QCOMPARE(exercise->titleLabel->text(), titlesFor(operation).title);
        QVERIFY(s.operation == Operation(operation));
        return;
    }
    QVERIFY(exercise->levelButtons[0]->isChecked());
    QCOMPARE(s.level, 1);
    for (const QPushButton *tile : exercise->tiles)
        QVERIFY(FormHarness::expectedFromCaption(tile->text()) < 10);
}

void TestStartScreen::leavingWhileAHandlerWaitsForItsSound_data()
{
    QTest::addColumn<QString>("handler");
    QTest::addColumn<bool>("byFrame");     // closed through the window frame, not with Esci
    QTest::addColumn<bool>("thenAnother"); // another operation chosen right after leaving
    QTest::newRow("tile click") << "tile" << false << false;
    QTest::newRow("level choice") << "level" << false << false;
    QTest::newRow("wrong answer") << "ok" << false << false;
    QTest::newRow("tile click, then another operation") << "tile" << false << true;
    QTest::newRow("wrong answer, then another operation") << "ok" << false << true;
    QTest::newRow("frame closed during a tile click") << "tile" << true << false;
    QTest::newRow("frame closed during a level choice") << "level" << true << false;
    QTest::newRow("frame closed during a wrong answer") << "ok" << true << false;
    QTest::newRow("frame closed during a right answer") << "right" << true << false;
    QTest::newRow("frame closed during a keypad key") << "digit" << true << false;
    QTest::newRow("frame closed, then another operation") << "ok" << true << true;
}

void TestStartScreen::leavingWhileAHandlerWaitsForItsSound()
{
    // A click on the exit button, or a close through the frame, that is already queued runs
    // inside the sound of the handler below; the form is unloaded under a handler that then
    // resumes. Run under the address sanitizer this catches any touch of freed memory.
    QFETCH(QString, handler);
    QFETCH(bool, byFrame);
    QFETCH(bool, thenAnother);
    FormHarness::click(start->operationButtons[2]);
    QPointer<ExerciseForm> exercise = start->exerciseForm();
    harness->form = exercise;
    FormHarness::click(exercise->levelButtons[2]);
    FormHarness::click(exercise->tiles[2]);
    if (handler == u"right")
        exercise->answerBox->setText(QString::number(exercise->round().problem(2).result));
    harness->sink.clips.clear();

    // As the window system sends it: to the window, which asks the form.
    if (byFrame)
        QCoreApplication::postEvent(exercise->windowHandle(), new QCloseEvent);
    else
        FormHarness::queueClick(exercise->exitButton);
    // Its sound lets waiting input run again, under the handler that is still waiting.
    if (thenAnother)
        FormHarness::queueClick(start->operationButtons[1]);
    if (handler == u"tile")
        exercise->openTile(7);
    else if (handler == u"level")
        exercise->chooseLevel(1);
    else if (handler == u"digit")
        exercise->typeDigit(3);
    else
        exercise->judgeAnswer();
    // Unloading, or gone already when a later handler's sound let its deletion run; the handler
    // resumed without touching it either way.
    QVERIFY(!exercise || exercise->isUnloading());
    QTRY_VERIFY(!exercise);
    // Esci greets the next visit with its hints again; the frame leaves them as they were.
    const bool judged = handler == u"ok" || handler == u"right";
    QCOMPARE(harness->context.preferences.showHints, !byFrame || !judged);
    QVERIFY(start->isVisible());
    QWidget *front = thenAnother ? static_cast<QWidget *>(start->exerciseForm()) : start;
    QTRY_COMPARE(QApplication::activeWindow(), front);
    // The handler's own sound came first, then the exit's click (and the operation's); the
    // frame has none, nor does anything the handler would have done after its sound.
    ClipList expected{handler == u"tile"    ? Clips::Click
                      : handler == u"level" ? Clips::Blip
                      : handler == u"digit" ? Clips::Blip
                      : handler == u"right" ? Clips::Chime
                                            : Clips::Oops};
    if (!byFrame)
        expected << Clips::Click;
    if (thenAnother)
        expected << Clips::Click;
    QCOMPARE(harness->sink.clips, expected);
    QCOMPARE(harness->inconsistency(start), QString());
    if (thenAnother) {
        QVERIFY(start->exerciseForm());
        QVERIFY(harness->context.choice.operation == Operation(2));
        return;
    }
    FormHarness::click(start->operationButtons[0]);
    QVERIFY(start->exerciseForm());
    QVERIFY(start->exerciseForm() != exercise.data());
}

void TestStartScreen::focusFollowsThePointerOverButtonsOnly_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<bool>("takesFocus");
    QTest::newRow("division button") << "operationButton_3" << true;
    QTest::newRow("addition button") << "operationButton_0" << true;
    QTest::newRow("sound switch") << "soundSwitch" << false;
    QTest::newRow("banner") << "banner" << false;
}

void TestStartScreen::focusFollowsThePointerOverButtonsOnly()
{
    QFETCH(QString, target);
    QFETCH(bool, takesFocus);
    QWidget *w = start->findChild<QWidget *>(target);
    QCOMPARE(QApplication::focusWidget(), start->exitButton);
    QTest::mouseMove(w, w->rect().center());
    QTRY_COMPARE(QApplication::focusWidget() == w, takesFocus);
    if (!takesFocus)
        QCOMPARE(QApplication::focusWidget(), start->exitButton);
}

void TestStartScreen::handPointerOnClickableControls()
{
    for (const QWidget *w : std::initializer_list<const QWidget *>{
             start->soundSwitch, start->operationButtons[0], start->operationButtons[1],
             start->operationButtons[2], start->operationButtons[3], start->exitButton})
        QVERIFY2(showsHand(w), qPrintable(w->objectName()));
    for (const QWidget *w : std::initializer_list<const QWidget *>{
             start->banner, start->logo, start->versionLabel, start->menuFrame, start})
        QVERIFY2(!w->testAttribute(Qt::WA_SetCursor), qPrintable(w->objectName()));
    for (const QWidget *w : start->findChildren<QWidget *>())
        QVERIFY2(w->toolTip().isEmpty(), qPrintable(w->objectName()));
}

VORTANI_GUI_TEST_MAIN(TestStartScreen)
#include "tst_startscreen.moc"
