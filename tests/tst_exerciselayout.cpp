// SPDX-License-Identifier: GPL-3.0-or-later
#include "Appearance.h"
#include "FormHarness.h"
#include "frmSplash.h"
#include "ImageBox.h"

#include <QApplication>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

namespace {
QRect onForm(const QWidget *w)
{
    return QRect(w->mapTo(w->window(), QPoint(0, 0)), w->size());
}
} // namespace

class TestExerciseLayout : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void formIsFixedAndTeal();
    void rectanglesOnTheForm_data();
    void rectanglesOnTheForm();
    void tilesCoverThePictureExactly();
    void controlsLieAboveLabelsAndPictures();
    void tabOrderFollowsPositions();
    void focusStartsOnExit();
    void printButtonStartsDisabled();
    void disabledFramesKeepTheirLook();
    void drawnInTheirOwnColours_data();
    void drawnInTheirOwnColours();
    void switchedOffButtonIsGreyed();
    void dealWritesTilesAndPicture();
    void missingPictureLeavesTheGamePlayable();

private:
    std::unique_ptr<FormHarness> harness;
};

void TestExerciseLayout::init()
{
    harness = std::make_unique<FormHarness>();
    harness->openExercise(1);
}

void TestExerciseLayout::formIsFixedAndTeal()
{
    Vortani *f = harness->form;
    QCOMPARE(f->windowTitle(), QStringLiteral("Vortani Puzzle"));
    QCOMPARE(f->size(), QSize(632, 453));
    QCOMPARE(f->minimumSize(), f->maximumSize());
    QCOMPARE(f->palette().color(QPalette::Window), QColor(0x00, 0xC0, 0xC0));
    QVERIFY(!f->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    // Every named control besides the tile array.
    int named = 0;
    for (const QWidget *w : f->findChildren<QWidget *>())
        if (!w->objectName().isEmpty() && !w->objectName().startsWith(u"qt_") &&
            !w->objectName().startsWith(u"cmdOper_"))
            ++named;
    QCOMPARE(named, 33);
}

void TestExerciseLayout::rectanglesOnTheForm_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("rect");
    QTest::newRow("tile 0") << "cmdOper_0" << QRect(128, 76, 89, 89);
    QTest::newRow("tile 5") << "cmdOper_5" << QRect(216, 164, 89, 89);
    QTest::newRow("tile 11") << "cmdOper_11" << QRect(392, 252, 89, 89);
    QTest::newRow("title, cut off at the top") << "lblTitolo" << QRect(136, -4, 333, 61);
    QTest::newRow("key 7 in the keypad") << "Cmd_7" << QRect(504, 124, 33, 33);
    QTest::newRow("back-space key") << "CmdBack" << QRect(544, 244, 73, 33);
    QTest::newRow("OK key") << "cmdOK" << QRect(504, 284, 113, 33);
    QTest::newRow("Esagerato, taller than the others") << "Option4" << QRect(16, 244, 85, 25);
    QTest::newRow("answer box") << "txtRisultato" << QRect(356, 356, 73, 29);
    QTest::newRow("faces share one place") << "Image3" << QRect(36, 324, 52, 52);
    QTest::newRow("verdict line") << "lblGiudizio" << QRect(12, 392, 609, 57);
    QTest::newRow("exit") << "cmdEsci" << QRect(520, 340, 85, 37);
}

void TestExerciseLayout::rectanglesOnTheForm()
{
    QFETCH(QString, name);
    QFETCH(QRect, rect);
    const QWidget *w = harness->form->findChild<QWidget *>(name);
    QVERIFY2(w, qPrintable(name));
    QCOMPARE(onForm(w), rect);
}

void TestExerciseLayout::tilesCoverThePictureExactly()
{
    Vortani *f = harness->form;
    QRect covered;
    for (const QPushButton *tile : f->cmdOper)
        covered = covered.united(tile->geometry());
    QCOMPARE(covered, QRect(8, 20, 353, 265));
    QCOMPARE(f->imgPuzzle->geometry(), covered);
    QCOMPARE(f->cmdOper[3]->geometry().right() + 1, 361);
    QCOMPARE(f->cmdOper[11]->geometry().bottom() + 1, 285);
}

void TestExerciseLayout::controlsLieAboveLabelsAndPictures()
{
    Vortani *f = harness->form;
    // What the mouse reaches at a point is what lies on top there.
    QCOMPARE(f->Frame2->childAt(f->cmdOper[5]->geometry().center()), f->cmdOper[5]);
    QCOMPARE(f->childAt(429 - 1, 360), f->txtRisultato); // overlaps Label2 by one pixel
    QCOMPARE(f->childAt(520, 60), f->cmdStampa);         // overlaps Label1
}

void TestExerciseLayout::tabOrderFollowsPositions()
{
    Vortani *f = harness->form;
    // Enable everything so that every stop of the chain can take the focus.
    f->Frame1->setEnabled(true);
    f->Frame2->setEnabled(true);
    f->cmdStampa->setEnabled(true);
    QStringList expected{"cmdEsci", "txtRisultato", "CmdBack", "Cmd_0", "Cmd_9", "Cmd_8", "Cmd_7",
                         "Cmd_6",   "Cmd_5",        "Cmd_4",   "Cmd_3", "Cmd_2", "Cmd_1", "cmdOK"};
    for (int i = 11; i >= 0; --i)
        expected << QStringLiteral("cmdOper_%1").arg(i);
    // clang-format off
    expected << "Option1" << "Option2" << "Option3" << "cmdStampa" << "Option4";
    // clang-format on
    // The focus chain itself: Tab walks it, except that among the exclusive level options only
    // one is a stop, as with any group of radio buttons.
    QStringList seen;
    for (QWidget *w = f->cmdEsci; seen.size() < expected.size(); w = w->nextInFocusChain())
        if (w->focusPolicy() & Qt::TabFocus && expected.contains(w->objectName()))
            seen << w->objectName();
    QCOMPARE(seen, expected);
}

void TestExerciseLayout::focusStartsOnExit()
{
    QCOMPARE(QApplication::focusWidget(), harness->form->cmdEsci);
}

void TestExerciseLayout::printButtonStartsDisabled()
{
    Vortani *f = harness->form;
    QVERIFY(!f->cmdStampa->isEnabled());
    QVERIFY(!f->Frame1->isEnabled());
    QVERIFY(!f->Frame2->isEnabled());
    QVERIFY(f->Frame3->isEnabled());
    QCOMPARE(f->cmdStampa->toolTip(), QStringLiteral("Stampa l'intero schermo"));
    QCOMPARE(f->cmdOK->toolTip(), QStringLiteral("Conferma il risultato"));
    QCOMPARE(f->CmdBack->toolTip(), QStringLiteral("Cancella l'ultima cifra immessa"));
    QCOMPARE(f->cmdEsci->toolTip(), QStringLiteral("Ritorna al menù principale"));
    QVERIFY(f->Cmd_4->toolTip().isEmpty());
}

void TestExerciseLayout::disabledFramesKeepTheirLook()
{
    Vortani *f = harness->form;
    const QImage closed = f->Frame1->grab().toImage();
    f->Frame1->setEnabled(true);
    f->cmdEsci->setFocus(); // no focus mark in either picture
    const QImage open = f->Frame1->grab().toImage();
    QCOMPARE(closed, open);
}

void TestExerciseLayout::drawnInTheirOwnColours_data()
{
    QTest::addColumn<bool>("start"); // on the start screen, else on the exercise screen
    QTest::addColumn<QString>("control");
    QTest::addColumn<QList<QPoint>>("points");
    QTest::addColumn<QColor>("colour");
    const QColor teal(0x00, 0xC0, 0xC0), grey(0xC0, 0xC0, 0xC0);
    QTest::newRow("keypad frame, inside") << false << "Frame1" << QList<QPoint>{{4, 100}} << teal;
    QTest::newRow("puzzle frame, inside") << false << "Frame2" << QList<QPoint>{{4, 150}} << teal;
    QTest::newRow("level frame, inside") << false << "Frame3" << QList<QPoint>{{4, 60}} << teal;
    QTest::newRow("exit, flat from top to bottom")
        << false << "cmdEsci" << QList<QPoint>{{10, 2}, {10, 18}, {10, 34}, {78, 18}} << grey;
    QTest::newRow("sound switch, flat from top to bottom")
        << true << "Check1" << QList<QPoint>{{10, 2}, {10, 18}, {10, 34}, {78, 18}} << teal;
    QTest::newRow("start screen's frame, inside")
        << true << "Frame1" << QList<QPoint>{{4, 100}} << teal;
}

void TestExerciseLayout::drawnInTheirOwnColours()
{
    QFETCH(bool, start);
    QFETCH(QString, control);
    QFETCH(QList<QPoint>, points);
    QFETCH(QColor, colour);
    std::unique_ptr<frmSplash> splash;
    QWidget *form = harness->form;
    if (start) {
        splash = std::make_unique<frmSplash>(harness->context);
        form = splash.get();
    }
    auto *w = form->findChild<QWidget *>(control);
    QVERIFY(w);
    const QImage look = w->grab().toImage();
    for (const QPoint &p : points)
        QCOMPARE(look.pixelColor(p), colour);
}

void TestExerciseLayout::switchedOffButtonIsGreyed()
{
    // The print button, switched off until a level is chosen, shows its picture grey; the
    // level choice gives it back its colours. The keys in the closed keypad keep theirs.
    Vortani *f = harness->form;
    const QPoint middle = f->cmdStampa->rect().center();
    const QColor off = f->cmdStampa->grab().toImage().pixelColor(middle);
    FormHarness::click(harness->level(1));
    f->cmdEsci->setFocus();
    const QColor on = f->cmdStampa->grab().toImage().pixelColor(middle);
    QCOMPARE(off.saturation(), 0);
    QVERIFY2(on.saturation() > 0, qPrintable(on.name()));
    // Esagerato's face reaches its last row: no strip of button face under the word.
    const QImage esagerato = f->Option4->grab().toImage();
    QVERIFY(esagerato.pixelColor(42, 24) != Appearance::buttonFace());
    QVERIFY(esagerato.pixelColor(42, 24) != f->Option4->palette().color(QPalette::Button));
}

void TestExerciseLayout::dealWritesTilesAndPicture()
{
    Vortani *f = harness->form;
    FormHarness::click(f->Option1);
    for (const QPushButton *tile : f->cmdOper)
        QVERIFY(FormHarness::expectedFromCaption(tile->text()) > 0);
    QVERIFY(!f->imgPuzzle->pixmap().isNull());
    QCOMPARE(f->imgPuzzle->size(), QSize(353, 265));
    QCOMPARE(QApplication::focusWidget(), f->cmdOper[0]);
    QCOMPARE(f->lblGiudizio->text(),
             QStringLiteral("Scegli l'operazione cliccando su una tessera del puzzle."));
}

void TestExerciseLayout::missingPictureLeavesTheGamePlayable()
{
    Vortani *f = harness->form;
    FormHarness::click(f->Option2);
    QVERIFY(!f->imgPuzzle->pixmap().isNull());

    // A folder without pictures: the next deal cannot find its picture.
    QTemporaryDir empty;
    const QString previous = QDir::currentPath();
    QDir::setCurrent(empty.path());
    const QString before = f->cmdOper[0]->text();
    for (int i = 0; i < 5 && f->cmdOper[0]->text() == before; ++i)
        f->casuale();
    QDir::setCurrent(previous);

    QVERIFY(f->imgPuzzle->isPlain());
    QVERIFY(f->imgPuzzle->pixmap().isNull()); // no stale picture
    for (const QPushButton *tile : f->cmdOper)
        QVERIFY(FormHarness::expectedFromCaption(tile->text()) > 0);
    harness->answerRight(4);
    QVERIFY(!f->cmdOper[4]->isVisible());
    QCOMPARE(harness->context.settings.SolvedCount, qint16(1));
}

VORTANI_GUI_TEST_MAIN(TestExerciseLayout)
#include "tst_exerciselayout.moc"
