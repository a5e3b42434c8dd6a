// SPDX-License-Identifier: GPL-3.0-or-later
#include "FormHarness.h"
#include "frmSplash.h"
#include "ImageBox.h"

#include <QApplication>
#include <QGroupBox>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

namespace {
QRect onForm(const QWidget *w)
{
    return QRect(w->mapTo(w->window(), QPoint(0, 0)), w->size());
}

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
    void rectanglesOnTheForm_data();
    void rectanglesOnTheForm();
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
    void leavingWhileATileWaitsForItsSound_data();
    void leavingWhileATileWaitsForItsSound();
    void focusFollowsThePointerOverButtonsOnly_data();
    void focusFollowsThePointerOverButtonsOnly();
    void handPointerOnClickableControls();

private:
    frmSplash *openStart();
    std::unique_ptr<FormHarness> harness;
    frmSplash *start = nullptr;
};

void TestStartScreen::init()
{
    harness = std::make_unique<FormHarness>();
    harness->context.settings.ShowHints = 0;
    start = openStart();
}

void TestStartScreen::cleanup()
{
    delete start;
    start = nullptr;
    harness.reset();
}

frmSplash *TestStartScreen::openStart()
{
    auto *f = new frmSplash(harness->context);
    f->Form_Load();
    f->show();
    f->activateWindow();
    if (!QTest::qWaitForWindowActive(f))
        qWarning("start form did not become active");
    return f;
}

void TestStartScreen::loadsWithVersionAndFocusOnExit()
{
    QCOMPARE(start->lblVersion->text(), QStringLiteral("Versione 3.5"));
    QCOMPARE(harness->context.settings.ShowHints, qint16(1));
    QCOMPARE(QApplication::focusWidget(), start->cmdEsci);
    QCOMPARE(start->size(), QSize(632, 453));
    QCOMPARE(start->windowTitle(), QStringLiteral("Vortani Puzzle"));
    QVERIFY(start->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(!start->Check1->isChecked());
    QVERIFY(harness->sink.clips.isEmpty());
}

void TestStartScreen::rectanglesOnTheForm_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("rect");
    QTest::newRow("first step of the staircase") << "cmdAdd" << QRect(288, 156, 165, 29);
    QTest::newRow("division") << "cmdDiv" << QRect(348, 264, 165, 29);
    QTest::newRow("last step, exit") << "cmdEsci" << QRect(368, 300, 165, 29);
    QTest::newRow("inner frame") << "Frame1" << QRect(76, 80, 476, 270);
    QTest::newRow("banner") << "Picture1" << QRect(140, 96, 311, 47);
    QTest::newRow("sound switch") << "Check1" << QRect(272, 388, 85, 37);
    QTest::newRow("version") << "lblVersion" << QRect(468, 92, 75, 14);
}

void TestStartScreen::rectanglesOnTheForm()
{
    QFETCH(QString, name);
    QFETCH(QRect, rect);
    const QWidget *w = start->findChild<QWidget *>(name);
    QVERIFY2(w, qPrintable(name));
    QCOMPARE(onForm(w), rect);
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
    const auto press = [this, key] { FormHarness::activate(start->Check1, key); };
    // First press: silent, and the sound goes off; second: back on, with a click.
    press();
    QCOMPARE(harness->context.settings.SoundMuted, qint16(1));
    QVERIFY(start->Check1->isChecked());
    QVERIFY(harness->sink.clips.isEmpty());
    press();
    QCOMPARE(harness->context.settings.SoundMuted, qint16(0));
    QVERIFY(!start->Check1->isChecked());
    QCOMPARE(harness->sink.clips, QList<int>{105});
}

void TestStartScreen::switchShowsItsTwoPictures()
{
    // The loudspeaker while the sound is on, the crossed one while it is off, drawn sharp at
    // a fractional density in whichever form the build packs pictures.
    const qreal scale = 1.5;
    const QIcon icon = start->Check1->icon();
    const QSize size = start->Check1->iconSize();
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
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("label");
    QTest::addColumn<bool>("muted");
    QTest::addColumn<int>("key"); // 0: a mouse click, -1: a tap
    // clang-format off
    QTest::newRow("addition") << "cmdAdd" << 1 << "Addizione" << "Somma =" << false << 0;
    QTest::newRow("subtraction, silent") << "cmdSott" << 2 << "Sottrazione" << "Differenza =" << true << 0;
    QTest::newRow("multiplication") << "cmdMolt" << 3 << "Moltiplicazione" << "Prodotto =" << false << 0;
    QTest::newRow("division") << "cmdDiv" << 4 << "Divisione" << "Quoziente =" << false << 0;
    QTest::newRow("addition by Space") << "cmdAdd" << 1 << "Addizione" << "Somma =" << false << int(Qt::Key_Space);
    QTest::newRow("subtraction by Return") << "cmdSott" << 2 << "Sottrazione" << "Differenza =" << false << int(Qt::Key_Return);
    QTest::newRow("multiplication by a tap") << "cmdMolt" << 3 << "Moltiplicazione" << "Prodotto =" << false << -1;
    QTest::newRow("division by keypad Enter") << "cmdDiv" << 4 << "Divisione" << "Quoziente =" << false << int(Qt::Key_Enter);
    // clang-format on
}

void TestStartScreen::operationsOpenTheExerciseScreen()
{
    QFETCH(QString, button);
    QFETCH(int, operation);
    QFETCH(QString, title);
    QFETCH(QString, label);
    QFETCH(bool, muted);
    QFETCH(int, key);
    if (muted)
        FormHarness::click(start->Check1);
    harness->sink.clips.clear();
    auto *target = start->findChild<QPushButton *>(button);
    FormHarness::activate(target, key);
    Vortani *exercise = start->exerciseForm();
    QVERIFY(exercise);
    QVERIFY(exercise->isVisible());
    QVERIFY(start->isVisible()); // stays loaded beneath
    QVERIFY(!exercise->parentWidget());
    QCOMPARE(harness->context.settings.Operation, qint16(operation));
    QCOMPARE(exercise->lblTitolo->text(), title);
    QCOMPARE(exercise->lblOperazione->text(), label);
    QCOMPARE(exercise->lblGiudizio->text(), QStringLiteral("Scegli il livello."));
    QCOMPARE(harness->sink.clips, muted ? QList<int>{} : QList<int>{105});
}

void TestStartScreen::leavingAndComingBackGivesAFreshScreen()
{
    FormHarness::click(start->Check1); // sound off, kept across visits
    FormHarness::click(start->cmdSott);
    QPointer<Vortani> first = start->exerciseForm();
    harness->form = first;
    FormHarness::click(first->Option2);
    harness->answerRight(0);
    harness->answerRight(5);
    FormHarness::click(first->cmdOper[7]);
    FormHarness::press(first->cmdOK); // a wrong answer: sets the big font, clears the hints
    QCOMPARE(harness->context.settings.ShowHints, qint16(0));

    FormHarness::click(first->cmdEsci);
    QTRY_VERIFY(!first);
    QVERIFY(start->isVisible());
    QCOMPARE(harness->context.settings.ShowHints, qint16(1));

    FormHarness::click(start->cmdDiv);
    Vortani *second = start->exerciseForm();
    QVERIFY(second);
    QCOMPARE(second->lblTitolo->text(), QStringLiteral("Divisione"));
    QCOMPARE(second->lblOperazione->text(), QStringLiteral("Quoziente ="));
    QCOMPARE(second->lblGiudizio->text(), QStringLiteral("Scegli il livello."));
    QCOMPARE(second->lblGiudizio->font().pointSizeF(), 18.0);
    for (const QAbstractButton *o : {static_cast<QAbstractButton *>(second->Option1),
                                     static_cast<QAbstractButton *>(second->Option2),
                                     static_cast<QAbstractButton *>(second->Option3),
                                     static_cast<QAbstractButton *>(second->Option4)})
        QVERIFY(!o->isChecked());
    QVERIFY(!second->cmdStampa->isEnabled());
    QVERIFY(!second->Frame2->isEnabled());
    QCOMPARE(harness->context.settings.SolvedCount, qint16(0));
    QCOMPARE(harness->context.settings.SoundMuted, qint16(1));
    QCOMPARE(harness->context.settings.Operation, qint16(4));
    QVERIFY(harness->sink.clips.isEmpty());
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
    FormHarness::click(start->cmdAdd);
    QPointer<Vortani> exercise = start->exerciseForm();
    FormHarness::click(exercise->Option1);
    const QString caption = exercise->cmdOper[0]->text();
    if (sameOperation) {
        start->cmdAdd_Click();
        QCOMPARE(start->exerciseForm(), exercise.data());
        QCOMPARE(exercise->cmdOper[0]->text(), caption);
        QCOMPARE(exercise->lblTitolo->text(), QStringLiteral("Addizione"));
        return;
    }
    // Tiles dealt for multiplication under an "Addizione" title would be plainly wrong.
    start->cmdMolt_Click();
    Vortani *fresh = start->exerciseForm();
    QVERIFY(fresh && fresh != exercise.data());
    QCOMPARE(fresh->lblTitolo->text(), QStringLiteral("Moltiplicazione"));
    QTRY_VERIFY(!exercise);
    FormHarness::click(fresh->Option1);
    QVERIFY(fresh->cmdOper[0]->text().contains(u" x "));
}

void TestStartScreen::closingTheExerciseThroughItsFrameUnloadsIt()
{
    FormHarness::click(start->cmdAdd);
    QPointer<Vortani> exercise = start->exerciseForm();
    exercise->close();
    QTRY_VERIFY(!exercise);
    QVERIFY(start->isVisible());
    FormHarness::click(start->cmdAdd);
    QVERIFY(start->exerciseForm());
}

void TestStartScreen::exitEndsTheProgramSilently()
{
    FormHarness::click(start->cmdAdd);
    harness->sink.clips.clear();
    QTimer::singleShot(0, start, [this] { FormHarness::click(start->cmdEsci); });
    QTimer::singleShot(5000, qApp, [] { QCoreApplication::exit(99); }); // safety net
    QCOMPARE(QApplication::exec(), 0);
    QVERIFY(harness->sink.clips.isEmpty());
    QVERIFY(!start->isVisible());
}

void TestStartScreen::secondChoiceDuringTheFirstsSound_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("queued");
    QTest::addColumn<QString>("title");
    // clang-format off
    QTest::newRow("two operations") << "cmdDiv" << "cmdMolt" << "Moltiplicazione";
    QTest::newRow("two levels") << "Option4" << "Option1" << "";
    // clang-format on
}

void TestStartScreen::secondChoiceDuringTheFirstsSound()
{
    // A click already queued runs inside the first click's sound. What is shown in the end and
    // what is dealt must agree.
    QFETCH(QString, first);
    QFETCH(QString, queued);
    QFETCH(QString, title);
    const bool levels = title.isEmpty();
    if (levels) {
        FormHarness::click(start->cmdSott);
        harness->form = start->exerciseForm();
    }
    QWidget *form = levels ? static_cast<QWidget *>(start->exerciseForm()) : start;
    auto *late = form->findChild<QAbstractButton *>(queued);
    FormHarness::queueClick(late);
    FormHarness::click(form->findChild<QAbstractButton *>(first));
    QCoreApplication::processEvents();
    const ExerciseSettings &s = harness->context.settings;
    Vortani *exercise = start->exerciseForm();
    if (!levels) {
        QCOMPARE(exercise->lblTitolo->text(), title);
        QCOMPARE(s.Operation, qint16(3));
        return;
    }
    QVERIFY(exercise->Option1->isChecked());
    QCOMPARE(s.Level, qint16(1));
    for (const QPushButton *tile : exercise->cmdOper)
        QVERIFY(FormHarness::expectedFromCaption(tile->text()) < 10);
}

void TestStartScreen::leavingWhileATileWaitsForItsSound_data()
{
    QTest::addColumn<QString>("handler");
    QTest::addColumn<bool>("thenAnother"); // another operation chosen right after leaving
    QTest::newRow("tile click") << "tile" << false;
    QTest::newRow("level choice") << "level" << false;
    QTest::newRow("wrong answer") << "ok" << false;
    QTest::newRow("tile click, then another operation") << "tile" << true;
    QTest::newRow("wrong answer, then another operation") << "ok" << true;
}

void TestStartScreen::leavingWhileATileWaitsForItsSound()
{
    // A click on the exit button that is already queued runs inside the sound of the handler
    // below; the form is unloaded under a handler that then resumes. Run under the address
    // sanitizer this catches any touch of freed memory.
    QFETCH(QString, handler);
    QFETCH(bool, thenAnother);
    FormHarness::click(start->cmdMolt);
    QPointer<Vortani> exercise = start->exerciseForm();
    harness->form = exercise;
    FormHarness::click(exercise->Option3);
    FormHarness::click(exercise->cmdOper[2]);
    harness->sink.clips.clear();

    FormHarness::queueClick(exercise->cmdEsci);
    // Its sound lets waiting input run again, under the handler that is still waiting.
    if (thenAnother)
        FormHarness::queueClick(start->cmdSott);
    if (handler == u"tile")
        exercise->cmdOper_Click(7);
    else if (handler == u"level")
        exercise->Option1_Click();
    else
        exercise->cmdOK_MouseDown();
    QVERIFY(exercise); // still there while its handler returns
    QVERIFY(exercise->isUnloading());
    QTRY_VERIFY(!exercise); // then gone
    QCOMPARE(harness->context.settings.ShowHints, qint16(1));
    QVERIFY(start->isVisible());
    // The handler's own sound came first, then the exit's click (and the operation's).
    QCOMPARE(harness->sink.clips.size(), thenAnother ? 3 : 2);
    QCOMPARE(harness->sink.clips.last(), 105);
    if (thenAnother) {
        QVERIFY(start->exerciseForm());
        QCOMPARE(harness->context.settings.Operation, qint16(2));
        return;
    }
    FormHarness::click(start->cmdAdd);
    QVERIFY(start->exerciseForm());
    QVERIFY(start->exerciseForm() != exercise.data());
}

void TestStartScreen::focusFollowsThePointerOverButtonsOnly_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<bool>("takesFocus");
    QTest::newRow("division button") << "cmdDiv" << true;
    QTest::newRow("addition button") << "cmdAdd" << true;
    QTest::newRow("sound switch") << "Check1" << false;
    QTest::newRow("banner") << "Picture1" << false;
}

void TestStartScreen::focusFollowsThePointerOverButtonsOnly()
{
    QFETCH(QString, target);
    QFETCH(bool, takesFocus);
    QWidget *w = start->findChild<QWidget *>(target);
    QCOMPARE(QApplication::focusWidget(), start->cmdEsci);
    QTest::mouseMove(w, w->rect().center());
    QTRY_COMPARE(QApplication::focusWidget() == w, takesFocus);
    if (!takesFocus)
        QCOMPARE(QApplication::focusWidget(), start->cmdEsci);
}

void TestStartScreen::handPointerOnClickableControls()
{
    for (const QWidget *w :
         std::initializer_list<const QWidget *>{start->Check1, start->cmdAdd, start->cmdSott,
                                                start->cmdMolt, start->cmdDiv, start->cmdEsci})
        QVERIFY2(showsHand(w), qPrintable(w->objectName()));
    for (const QWidget *w : std::initializer_list<const QWidget *>{
             start->Picture1, start->imgLogo, start->lblVersion, start->Frame1, start})
        QVERIFY2(!w->testAttribute(Qt::WA_SetCursor), qPrintable(w->objectName()));
    for (const QWidget *w : start->findChildren<QWidget *>())
        QVERIFY2(w->toolTip().isEmpty(), qPrintable(w->objectName()));
}

VORTANI_GUI_TEST_MAIN(TestStartScreen)
#include "tst_startscreen.moc"
