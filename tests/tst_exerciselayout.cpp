// SPDX-License-Identifier: GPL-3.0-or-later
#include "Appearance.h"
#include "FormHarness.h"
#include "ImageBox.h"
#include "StartForm.h"

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
    ExerciseForm *f = harness->form;
    QCOMPARE(f->windowTitle(), QStringLiteral("Vortani Puzzle"));
    QCOMPARE(f->size(), QSize(632, 453));
    QCOMPARE(f->minimumSize(), f->maximumSize());
    QCOMPARE(f->palette().color(QPalette::Window), QColor(0x00, 0xC0, 0xC0));
    QVERIFY(!f->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    // Every named control besides the tile array.
    int named = 0;
    for (const QWidget *w : f->findChildren<QWidget *>())
        if (!w->objectName().isEmpty() && !w->objectName().startsWith(u"qt_") &&
            !w->objectName().startsWith(u"tile_"))
            ++named;
    QCOMPARE(named, 33);
}

void TestExerciseLayout::rectanglesOnTheForm_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("rect");
    QTest::newRow("tile 0") << "tile_0" << QRect(128, 76, 89, 89);
    QTest::newRow("tile 5") << "tile_5" << QRect(216, 164, 89, 89);
    QTest::newRow("tile 11") << "tile_11" << QRect(392, 252, 89, 89);
    QTest::newRow("title, cut off at the top") << "titleLabel" << QRect(136, -4, 333, 61);
    QTest::newRow("key 7 in the keypad") << "digitKey_7" << QRect(504, 124, 33, 33);
    QTest::newRow("back-space key") << "eraseKey" << QRect(544, 244, 73, 33);
    QTest::newRow("OK key") << "okKey" << QRect(504, 284, 113, 33);
    QTest::newRow("Esagerato, taller than the others") << "levelButton_3" << QRect(16, 244, 85, 25);
    QTest::newRow("answer box") << "answerBox" << QRect(356, 356, 73, 29);
    QTest::newRow("faces share one place") << "laughingFace" << QRect(36, 324, 52, 52);
    QTest::newRow("verdict line") << "verdictLine" << QRect(12, 392, 609, 57);
    QTest::newRow("exit") << "exitButton" << QRect(520, 340, 85, 37);
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
    ExerciseForm *f = harness->form;
    QRect covered;
    for (const QPushButton *tile : f->tiles)
        covered = covered.united(tile->geometry());
    QCOMPARE(covered, QRect(8, 20, 353, 265));
    QCOMPARE(f->puzzlePicture->geometry(), covered);
    QCOMPARE(f->tiles[3]->geometry().right() + 1, 361);
    QCOMPARE(f->tiles[11]->geometry().bottom() + 1, 285);
}

void TestExerciseLayout::controlsLieAboveLabelsAndPictures()
{
    ExerciseForm *f = harness->form;
    // What the mouse reaches at a point is what lies on top there.
    QCOMPARE(f->puzzleFrame->childAt(f->tiles[5]->geometry().center()), f->tiles[5]);
    QCOMPARE(f->childAt(429 - 1, 360), f->answerBox); // overlaps answerNote by one pixel
    QCOMPARE(f->childAt(520, 60), f->printButton);    // overlaps creditsLabel
}

void TestExerciseLayout::tabOrderFollowsPositions()
{
    ExerciseForm *f = harness->form;
    // Enable everything so that every stop of the chain can take the focus.
    f->keypad->setEnabled(true);
    f->puzzleFrame->setEnabled(true);
    f->printButton->setEnabled(true);
    QStringList expected{"exitButton", "answerBox",  "eraseKey",   "digitKey_0", "digitKey_9",
                         "digitKey_8", "digitKey_7", "digitKey_6", "digitKey_5", "digitKey_4",
                         "digitKey_3", "digitKey_2", "digitKey_1", "okKey"};
    for (int i = 11; i >= 0; --i)
        expected << QStringLiteral("tile_%1").arg(i);
    // clang-format off
    expected << "levelButton_0" << "levelButton_1" << "levelButton_2" << "printButton" << "levelButton_3";
    // clang-format on
    // The focus chain itself: Tab walks it, except that among the exclusive level options only
    // one is a stop, as with any group of radio buttons.
    QStringList seen;
    for (QWidget *w = f->exitButton; seen.size() < expected.size(); w = w->nextInFocusChain())
        if (w->focusPolicy() & Qt::TabFocus && expected.contains(w->objectName()))
            seen << w->objectName();
    QCOMPARE(seen, expected);
}

void TestExerciseLayout::focusStartsOnExit()
{
    QCOMPARE(QApplication::focusWidget(), harness->form->exitButton);
}

void TestExerciseLayout::printButtonStartsDisabled()
{
    ExerciseForm *f = harness->form;
    QVERIFY(!f->printButton->isEnabled());
    QVERIFY(!f->keypad->isEnabled());
    QVERIFY(!f->puzzleFrame->isEnabled());
    QVERIFY(f->levelFrame->isEnabled());
    QCOMPARE(f->printButton->toolTip(), QStringLiteral("Stampa l'intero schermo"));
    QCOMPARE(f->okKey->toolTip(), QStringLiteral("Conferma il risultato"));
    QCOMPARE(f->eraseKey->toolTip(), QStringLiteral("Cancella l'ultima cifra immessa"));
    QCOMPARE(f->exitButton->toolTip(), QStringLiteral("Ritorna al menù principale"));
    QVERIFY(f->digitKeys[4]->toolTip().isEmpty());
}

void TestExerciseLayout::disabledFramesKeepTheirLook()
{
    ExerciseForm *f = harness->form;
    const QImage closed = f->keypad->grab().toImage();
    f->keypad->setEnabled(true);
    f->exitButton->setFocus(); // no focus mark in either picture
    const QImage open = f->keypad->grab().toImage();
    QCOMPARE(closed, open);
}

void TestExerciseLayout::drawnInTheirOwnColours_data()
{
    QTest::addColumn<bool>("start"); // on the start screen, else on the exercise screen
    QTest::addColumn<QString>("control");
    QTest::addColumn<QList<QPoint>>("points");
    QTest::addColumn<QColor>("colour");
    const QColor teal(0x00, 0xC0, 0xC0), grey(0xC0, 0xC0, 0xC0);
    QTest::newRow("keypad frame, inside") << false << "keypad" << QList<QPoint>{{4, 100}} << teal;
    QTest::newRow("puzzle frame, inside")
        << false << "puzzleFrame" << QList<QPoint>{{4, 150}} << teal;
    QTest::newRow("level frame, inside") << false << "levelFrame" << QList<QPoint>{{4, 60}} << teal;
    QTest::newRow("exit, flat from top to bottom")
        << false << "exitButton" << QList<QPoint>{{10, 2}, {10, 18}, {10, 34}, {78, 18}} << grey;
    QTest::newRow("sound switch, flat from top to bottom")
        << true << "soundSwitch" << QList<QPoint>{{10, 2}, {10, 18}, {10, 34}, {78, 18}} << teal;
    QTest::newRow("start screen's frame, inside")
        << true << "menuFrame" << QList<QPoint>{{4, 100}} << teal;
}

void TestExerciseLayout::drawnInTheirOwnColours()
{
    QFETCH(bool, start);
    QFETCH(QString, control);
    QFETCH(QList<QPoint>, points);
    QFETCH(QColor, colour);
    std::unique_ptr<StartForm> splash;
    QWidget *form = harness->form;
    if (start) {
        splash = std::make_unique<StartForm>(harness->context);
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
    ExerciseForm *f = harness->form;
    const QPoint middle = f->printButton->rect().center();
    const QColor off = f->printButton->grab().toImage().pixelColor(middle);
    FormHarness::click(harness->level(1));
    f->exitButton->setFocus();
    const QColor on = f->printButton->grab().toImage().pixelColor(middle);
    QCOMPARE(off.saturation(), 0);
    QVERIFY2(on.saturation() > 0, qPrintable(on.name()));
    // Esagerato's face reaches its last row: no strip of button face under the word.
    const QImage esagerato = f->levelButtons[3]->grab().toImage();
    QVERIFY(esagerato.pixelColor(42, 24) != Appearance::buttonFace());
    QVERIFY(esagerato.pixelColor(42, 24) != f->levelButtons[3]->palette().color(QPalette::Button));
}

void TestExerciseLayout::dealWritesTilesAndPicture()
{
    ExerciseForm *f = harness->form;
    FormHarness::click(f->levelButtons[0]);
    for (const QPushButton *tile : f->tiles)
        QVERIFY(FormHarness::expectedFromCaption(tile->text()) > 0);
    QVERIFY(!f->puzzlePicture->pixmap().isNull());
    QCOMPARE(f->puzzlePicture->size(), QSize(353, 265));
    QCOMPARE(QApplication::focusWidget(), f->tiles[0]);
    QCOMPARE(f->verdictLine->text(),
             QStringLiteral("Scegli l'operazione cliccando su una tessera del puzzle."));
}

void TestExerciseLayout::missingPictureLeavesTheGamePlayable()
{
    ExerciseForm *f = harness->form;
    FormHarness::click(f->levelButtons[1]);
    QVERIFY(!f->puzzlePicture->pixmap().isNull());

    // A folder without pictures: the next deal cannot find its picture.
    QTemporaryDir empty;
    const QString previous = QDir::currentPath();
    QDir::setCurrent(empty.path());
    const QString before = f->tiles[0]->text();
    for (int i = 0; i < 5 && f->tiles[0]->text() == before; ++i)
        f->dealPuzzle();
    QDir::setCurrent(previous);

    QVERIFY(f->puzzlePicture->isPlain());
    QVERIFY(f->puzzlePicture->pixmap().isNull()); // no stale picture
    for (const QPushButton *tile : f->tiles)
        QVERIFY(FormHarness::expectedFromCaption(tile->text()) > 0);
    harness->answerRight(4);
    QVERIFY(!f->tiles[4]->isVisible());
    QCOMPARE(f->round().solvedCount(), 1);
}

VORTANI_GUI_TEST_MAIN(TestExerciseLayout)
#include "tst_exerciselayout.moc"
