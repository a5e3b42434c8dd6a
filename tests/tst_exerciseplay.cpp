// SPDX-License-Identifier: GPL-3.0-or-later
// Playing the exercise form with real mouse and keyboard events: levels, tiles, keypad, verdicts,
// clips and input queued while a clip starts.
#include "Appearance.h"
#include "FormHarness.h"
#include "ImageBox.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>

#include <limits>

namespace {
const QStringList Praise{"Bravissimo.", "Molto bravo.",   "Dai che vai forte.",
                         "Molto bene.", "Continua così.", "Sei proprio bravo.",
                         "Uaoo!"};
const QString Wrong = QStringLiteral("Ops! hai sbagliato. Riprova.");
const QString Finished = QStringLiteral("Hai finito. Guarda che bel disegno");
const QString ChooseTile =
    QStringLiteral("Scegli l'operazione cliccando su una tessera del puzzle.");
const QString TypeAnswer = QStringLiteral(
    "Scrivi il risultato utilizzando il tastierino numerico. Conferma premendo il tasto OK.");
const QColor PaleYellow(255, 255, 192);

QString facesShown(const Vortani *f)
{
    QStringList shown;
    for (const ImageBox *face : {f->Image1, f->Image2, f->Image3, f->Image4})
        if (face->isVisible())
            shown << face->objectName();
    return shown.join(u',');
}

QColor colourOf(const QPushButton *tile)
{
    return tile->palette().color(QPalette::Button);
}

QList<int> highlightedTiles(const Vortani *f)
{
    QList<int> lit;
    for (int i = 0; i < ExerciseSettings::TileCount; ++i)
        if (const QPushButton *t = f->cmdOper[std::size_t(i)];
            t->isVisible() && colourOf(t) == PaleYellow)
            lit << i;
    return lit;
}

int visibleTiles(const Vortani *f)
{
    return int(std::count_if(f->cmdOper.begin(), f->cmdOper.end(),
                             [](const QPushButton *t) { return t->isVisible(); }));
}

// How an answer reaches the box.
constexpr int Keypad = 0, Keyboard = 1, Paste = 2;

QList<int> clipsForDigits(qint64 number)
{
    return QList<int>(QString::number(number).size(), 102);
}
} // namespace

class TestExercisePlay : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void loadWaitsForALevel_data();
    void loadWaitsForALevel();
    void levelChoiceDeals_data();
    void levelChoiceDeals();
    void tileOpensTheKeypad_data();
    void tileOpensTheKeypad();
    void keypadTypesIntoTheBox_data();
    void keypadTypesIntoTheBox();
    void everyPressCounts_data();
    void everyPressCounts();
    void enterWorksTheFocusedButton_data();
    void enterWorksTheFocusedButton();
    void inertInput_data();
    void inertInput();
    void answerIsJudged_data();
    void answerIsJudged();
    void inputQueuedDuringAClip_data();
    void inputQueuedDuringAClip();
    void wholePuzzle_data();
    void wholePuzzle();
    void praiseReachesEveryText();
    void answeredDuringItsOwnClickSound();
    void physicalKeyboardWorksToo_data();
    void physicalKeyboardWorksToo();

private:
    Vortani *openAtLevel(int operation, int level);
    void keys(const QString &keys, Qt::MouseButton button = Qt::LeftButton);
    qint32 resultOf(int tile) const { return h->context.settings.ResultTable[std::size_t(tile)]; }

    std::unique_ptr<FormHarness> h;
};

void TestExercisePlay::init()
{
    h = std::make_unique<FormHarness>();
}

Vortani *TestExercisePlay::openAtLevel(int operation, int level)
{
    Vortani *f = h->openExercise(operation);
    FormHarness::click(h->level(level));
    h->sink.clips.clear();
    return f;
}

// Presses keypad keys, '<' standing for back-space, then lets the keystrokes arrive. No release
// follows: the keys act on the press alone.
void TestExercisePlay::keys(const QString &keys, Qt::MouseButton button)
{
    for (const QChar c : keys)
        FormHarness::press(c == u'<'
                               ? h->form->CmdBack
                               : h->form->findChild<QPushButton *>(QStringLiteral("Cmd_") + c),
                           button);
    QCoreApplication::processEvents();
}

void TestExercisePlay::loadWaitsForALevel_data()
{
    QTest::addColumn<int>("operation");
    QTest::addColumn<int>("hints");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("operationLabel");
    // clang-format off
    QTest::newRow("addition") << 1 << 1 << "Addizione" << "Somma =";
    QTest::newRow("subtraction") << 2 << 1 << "Sottrazione" << "Differenza =";
    QTest::newRow("multiplication") << 3 << 1 << "Moltiplicazione" << "Prodotto =";
    QTest::newRow("division") << 4 << 1 << "Divisione" << "Quoziente =";
    QTest::newRow("division, hints off") << 4 << 0 << "Divisione" << "Quoziente =";
    // clang-format on
}

void TestExercisePlay::loadWaitsForALevel()
{
    QFETCH(int, operation);
    QFETCH(int, hints);
    QFETCH(QString, title);
    QFETCH(QString, operationLabel);
    h->context.settings.SolvedCount = 7; // left over from an earlier game
    h->context.settings.ShowHints = qint16(hints);
    Vortani *f = h->openExercise(operation);
    QCOMPARE(h->context.settings.SolvedCount, qint16(0));
    QCOMPARE(f->lblGiudizio->font().pointSizeF(), 18.0);
    QCOMPARE(facesShown(f), QStringLiteral("Image1"));
    QVERIFY(!f->Frame1->isEnabled());
    QVERIFY(!f->Frame2->isEnabled());
    QCOMPARE(f->lblTitolo->text(), title);
    QCOMPARE(f->lblOperazione->text(), operationLabel);
    QCOMPARE(f->lblGiudizio->text() == QStringLiteral("Scegli il livello."), hints == 1);
    QVERIFY(h->sink.clips.isEmpty());
}

void TestExercisePlay::levelChoiceDeals_data()
{
    QTest::addColumn<int>("operation");
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("earlier"); // the level of the game under way
    QTest::addColumn<int>("hints");
    QTest::addColumn<QList<int>>("bounds"); // FirstMax, FirstMin, SecondMax, SecondMin
    QTest::newRow("addition, level 1") << 1 << 1 << 2 << 1 << QList<int>{10, 1, 9, 1};
    QTest::newRow("addition, level 2") << 1 << 2 << 1 << 1 << QList<int>{100, 10, 9, 1};
    QTest::newRow("addition, level 3") << 1 << 3 << 1 << 1 << QList<int>{100, 10, 99, 10};
    QTest::newRow("addition, level 4") << 1 << 4 << 1 << 1 << QList<int>{999, 100, 99, 10};
    QTest::newRow("addition, level 2 chosen again")
        << 1 << 2 << 2 << 1 << QList<int>{100, 10, 9, 1};
    QTest::newRow("subtraction, level 4, hints off")
        << 2 << 4 << 1 << 0 << QList<int>{999, 100, 99, 10};
    QTest::newRow("multiplication, level 3") << 3 << 3 << 1 << 1 << QList<int>{100, 10, 99, 10};
    QTest::newRow("division, level 1") << 4 << 1 << 2 << 1 << QList<int>{10, 1, 9, 1};
    QTest::newRow("division, level 2") << 4 << 2 << 1 << 0 << QList<int>{100, 10, 9, 1};
    QTest::newRow("division, level 3 narrows the divisor")
        << 4 << 3 << 1 << 1 << QList<int>{100, 10, 9, 1};
    QTest::newRow("division, level 4 narrows both")
        << 4 << 4 << 1 << 1 << QList<int>{999, 10, 9, 1};
    QTest::newRow("division, level 4 chosen again")
        << 4 << 4 << 4 << 1 << QList<int>{999, 10, 9, 1};
}

void TestExercisePlay::levelChoiceDeals()
{
    QFETCH(int, operation);
    QFETCH(int, level);
    QFETCH(int, earlier);
    QFETCH(int, hints);
    QFETCH(QList<int>, bounds);
    // A game under way: tile 0 solved, tile 2 open after a wrong answer, "5" typed.
    Vortani *f = openAtLevel(operation, earlier);
    h->answerRight(0);
    FormHarness::click(f->cmdOper[2]);
    keys(QString::number(resultOf(2) + 1));
    FormHarness::press(f->cmdOK);
    QCOMPARE(facesShown(f), QStringLiteral("Image4"));
    keys(QStringLiteral("5"));
    ExerciseSettings &s = h->context.settings;
    s.ShowHints = qint16(hints);
    QStringList captions;
    for (const QPushButton *tile : f->cmdOper)
        captions << tile->text();
    int unchanged = 0;
    h->sink.clips.clear();

    FormHarness::click(h->level(level));
    QCOMPARE(h->sink.clips, QList<int>{102});
    QCOMPARE(int(s.Level), level);
    QCOMPARE((QList<int>{s.FirstMax, s.FirstMin, s.SecondMax, s.SecondMin}), bounds);
    QCOMPARE(s.SolvedCount, qint16(0));
    QCOMPARE(facesShown(f), QStringLiteral("Image1"));
    QVERIFY(f->cmdStampa->isEnabled());
    QVERIFY(f->Frame2->isEnabled());
    for (int i = 0; i < ExerciseSettings::TileCount; ++i) {
        const QPushButton *tile = f->cmdOper[std::size_t(i)];
        QVERIFY(tile->isVisible());
        QCOMPARE(colourOf(tile), Appearance::buttonFace());
        QCOMPARE(FormHarness::expectedFromCaption(tile->text()), qint64(resultOf(i)));
        unchanged += int(captions[i] == tile->text());
    }
    QVERIFY(unchanged < ExerciseSettings::TileCount); // dealt anew
    QCOMPARE(f->lblGiudizio->text(), hints == 1 ? ChooseTile : QString());
    QCOMPARE(QApplication::focusWidget(), f->cmdOper[0]);
    // What belongs to the open tile stays as it was.
    QVERIFY(f->Frame1->isEnabled());
    QCOMPARE(f->txtRisultato->text(), QStringLiteral("5"));
    QCOMPARE(s.CurrentTile, qint16(2));

    // The open tile now carries a new problem, and OK judges against that one.
    keys("<" + QString::number(resultOf(2)));
    h->sink.clips.clear();
    FormHarness::press(f->cmdOK);
    QCOMPARE(h->sink.clips, QList<int>{104});
    QCOMPARE(s.SolvedCount, qint16(1));
    QVERIFY(!f->cmdOper[2]->isVisible());
}

void TestExercisePlay::tileOpensTheKeypad_data()
{
    QTest::addColumn<bool>("hadTile");
    QTest::addColumn<int>("hints");
    QTest::addColumn<bool>("muted");
    QTest::addColumn<int>("key"); // 0: a mouse click, -1: a tap
    QTest::newRow("first tile of the game") << false << 1 << false << 0;
    QTest::newRow("another tile takes the highlight") << true << 1 << false << 0;
    QTest::newRow("Space on a focused tile") << true << 1 << false << int(Qt::Key_Space);
    QTest::newRow("Return on a focused tile") << true << 1 << false << int(Qt::Key_Return);
    QTest::newRow("keypad Enter on a focused tile") << false << 1 << false << int(Qt::Key_Enter);
    QTest::newRow("a tap on a tile") << true << 1 << false << -1;
    QTest::newRow("hints off: no typing hint") << true << 0 << false << 0;
    QTest::newRow("sound off: no clip") << true << 1 << true << 0;
}

void TestExercisePlay::tileOpensTheKeypad()
{
    QFETCH(bool, hadTile);
    QFETCH(int, hints);
    QFETCH(bool, muted);
    QFETCH(int, key);
    h->context.settings.ShowHints = qint16(hints);
    h->context.settings.SoundMuted = muted;
    Vortani *f = openAtLevel(2, 1);
    if (hadTile)
        FormHarness::click(f->cmdOper[4]);
    QCOMPARE(f->Frame1->isEnabled(), hadTile);
    f->txtRisultato->setText(QStringLiteral("77"));
    h->sink.clips.clear();

    QPushButton *tile = f->cmdOper[9];
    FormHarness::activate(tile, key);
    QCOMPARE(h->sink.clips, muted ? QList<int>{} : QList<int>{105});
    QVERIFY(f->Frame1->isEnabled());
    QVERIFY(f->txtRisultato->text().isEmpty());
    QCOMPARE(h->context.settings.CurrentTile, qint16(9));
    QCOMPARE(highlightedTiles(f), QList<int>{9});
    QCOMPARE(colourOf(f->cmdOper[4]), Appearance::buttonFace());
    QCOMPARE(f->lblGiudizio->text(), hints == 1 ? TypeAnswer : QString());
    QCOMPARE(QApplication::focusWidget(), tile);
    // The focus mark shows on the chosen tile, and its yellow stays exactly its own.
    const QImage look = tile->grab().toImage();
    QCOMPARE(look.pixelColor(4, 4), tile->palette().color(QPalette::ButtonText));
    QCOMPARE(look.pixelColor(7, 7), PaleYellow);
    QCOMPARE(look.pixelColor(tile->width() - 8, tile->height() / 2), PaleYellow);
}

void TestExercisePlay::keypadTypesIntoTheBox_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("selectFrom"); // -1: a double click in the box selects it all
    QTest::addColumn<int>("selectLength");
    QTest::addColumn<QString>("pressed");
    QTest::addColumn<bool>("muted");
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<QString>("expected");
    const auto L = Qt::LeftButton;
    QTest::newRow("4 then 2") << "" << 0 << 0 << "42" << false << L << "42";
    QTest::newRow("right button") << "" << 0 << 0 << "42<7" << false << Qt::RightButton << "47";
    QTest::newRow("middle button") << "" << 0 << 0 << "9<<0" << false << Qt::MiddleButton << "0";
    QTest::newRow("back-space drops the last digit") << "" << 0 << 0 << "42<" << false << L << "4";
    QTest::newRow("back-space on an empty box") << "" << 0 << 0 << "<" << false << L << "";
    QTest::newRow("every digit, in order")
        << "" << 0 << 0 << "1234567890" << false << L << "1234567890";
    QTest::newRow("digits after back-spacing everything")
        << "" << 0 << 0 << "12<<<3" << false << L << "3";
    QTest::newRow("sound off still types") << "" << 0 << 0 << "42<7" << true << L << "47";
    QTest::newRow("a digit replaces a whole selection")
        << "123" << 0 << 3 << "5" << false << L << "5";
    QTest::newRow("a digit replaces a middle selection")
        << "123" << 1 << 1 << "5" << false << L << "153";
    QTest::newRow("back-space deletes a selection") << "123" << 0 << 2 << "<" << false << L << "3";
    // How a child selects: a double click in the box, which then loses the focus to the key.
    QTest::newRow("a digit replaces a selection made in the box")
        << "123" << -1 << 0 << "5" << false << L << "5";
}

void TestExercisePlay::keypadTypesIntoTheBox()
{
    QFETCH(QString, before);
    QFETCH(int, selectFrom);
    QFETCH(int, selectLength);
    QFETCH(QString, pressed);
    QFETCH(bool, muted);
    QFETCH(Qt::MouseButton, button);
    QFETCH(QString, expected);
    h->context.settings.SoundMuted = muted;
    Vortani *f = openAtLevel(1, 2);
    FormHarness::click(f->cmdOper[0]);
    f->txtRisultato->setText(before);
    if (selectFrom < 0) {
        FormHarness::click(f->txtRisultato);
        QTest::mouseDClick(f->txtRisultato, Qt::LeftButton, Qt::NoModifier,
                           f->txtRisultato->rect().center());
        QCOMPARE(f->txtRisultato->selectedText(), before);
        QCOMPARE(QApplication::focusWidget(), f->txtRisultato);
    } else if (selectLength > 0) {
        f->txtRisultato->setSelection(selectFrom, selectLength);
    }
    h->sink.clips.clear();
    keys(pressed, button);
    QCOMPARE(f->txtRisultato->text(), expected);
    QCOMPARE(QApplication::focusWidget(), f->txtRisultato);
    QCOMPARE(h->sink.clips, muted ? QList<int>{} : QList<int>(pressed.size(), 102));
}

void TestExercisePlay::everyPressCounts_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<bool>("touch"); // taps of a finger instead of mouse presses
    QTest::addColumn<int>("count");
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<QString>("before"); // "{R}1": a wrong answer to the open tile
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QList<int>>("clips");
    const auto L = Qt::LeftButton;
    const QList<int> two{102, 102}, three{102, 102, 102};
    // clang-format off
    QTest::newRow("quick pair on a key") << "Cmd_1" << false << 2 << L << "" << "11" << two;
    QTest::newRow("quick triple on a key") << "Cmd_3" << false << 3 << L << "" << "333" << three;
    QTest::newRow("quick pair, right button") << "Cmd_2" << false << 2 << Qt::RightButton << "" << "22" << two;
    QTest::newRow("quick triple, middle button") << "Cmd_9" << false << 3 << Qt::MiddleButton << "" << "999" << three;
    QTest::newRow("quick pair on back-space") << "CmdBack" << false << 2 << L << "123" << "1" << two;
    QTest::newRow("quick pair on OK after a wrong answer judges twice")
        << "cmdOK" << false << 2 << L << "{R}1" << "" << QList<int>{103, 103};
    QTest::newRow("a tap on a key") << "Cmd_5" << true << 1 << L << "" << "5" << QList<int>{102};
    QTest::newRow("two quick taps on a key") << "Cmd_5" << true << 2 << L << "" << "55" << two;
    QTest::newRow("three quick taps on a key") << "Cmd_8" << true << 3 << L << "" << "888" << three;
    // clang-format on
}

void TestExercisePlay::everyPressCounts()
{
    QFETCH(QString, control);
    QFETCH(bool, touch);
    QFETCH(int, count);
    QFETCH(Qt::MouseButton, button);
    QFETCH(QString, before);
    QFETCH(QString, expected);
    QFETCH(QList<int>, clips);
    Vortani *f = openAtLevel(1, 1);
    FormHarness::click(f->cmdOper[6]);
    f->txtRisultato->setText(
        QString(before).replace(QStringLiteral("{R}"), QString::number(resultOf(6))));
    h->sink.clips.clear();

    auto *target = f->findChild<QPushButton *>(control);
    if (touch)
        FormHarness::taps(target, count);
    else
        FormHarness::quickPresses(target, count, button);
    QCOMPARE(f->txtRisultato->text(), expected);
    QCOMPARE(h->sink.clips, clips);
    QVERIFY(!target->isDown());
    if (control == u"cmdOK") {
        QCOMPARE(f->lblGiudizio->text(), Wrong);
        QCOMPARE(h->context.settings.SolvedCount, qint16(0));
        return;
    }
    // Held, the key stays down although its press gave the focus to the answer box.
    QTest::mousePress(target, button, Qt::NoModifier, target->rect().center());
    QVERIFY(target->isDown());
    QCOMPARE(QApplication::focusWidget(), f->txtRisultato);
    QTest::mouseRelease(target, button, Qt::NoModifier, target->rect().center());
    QVERIFY(!target->isDown());
}

void TestExercisePlay::enterWorksTheFocusedButton_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("key");
    QTest::newRow("Return on the exit") << "cmdEsci" << int(Qt::Key_Return);
    QTest::newRow("keypad Enter on the exit") << "cmdEsci" << int(Qt::Key_Enter);
    QTest::newRow("Return on a level") << "Option3" << int(Qt::Key_Return);
    QTest::newRow("keypad Enter on a level") << "Option4" << int(Qt::Key_Enter);
}

void TestExercisePlay::enterWorksTheFocusedButton()
{
    QFETCH(QString, control);
    QFETCH(int, key);
    Vortani *f = openAtLevel(2, 1);
    auto *target = f->findChild<QAbstractButton *>(control);
    target->setFocus();
    const auto modifier = key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier;
    QTest::keyPress(target, Qt::Key(key), modifier);
    QVERIFY(target->isDown()); // down while the key is held, as with Space
    QVERIFY(h->sink.clips.isEmpty());
    QTest::keyRelease(target, Qt::Key(key), modifier);
    if (control == u"cmdEsci") {
        QVERIFY(f->isUnloading());
        QCOMPARE(h->sink.clips, QList<int>{105});
    } else {
        QCOMPARE(h->context.settings.Level, qint16(control.back().digitValue()));
        QVERIFY(target->isChecked());
        QCOMPARE(h->sink.clips, QList<int>{102});
    }
}

void TestExercisePlay::inertInput_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("key"); // 0: a mouse press
    QTest::addColumn<bool>("keypadOpen");
    QTest::newRow("Space on a focused digit key") << "Cmd_4" << int(Qt::Key_Space) << true;
    QTest::newRow("Return on a focused digit key") << "Cmd_4" << int(Qt::Key_Return) << true;
    QTest::newRow("Enter on a focused back-space") << "CmdBack" << int(Qt::Key_Enter) << true;
    QTest::newRow("Space on a focused OK") << "cmdOK" << int(Qt::Key_Space) << true;
    QTest::newRow("Return on a focused OK") << "cmdOK" << int(Qt::Key_Return) << true;
    QTest::newRow("keypad Enter on a focused OK") << "cmdOK" << int(Qt::Key_Enter) << true;
    QTest::newRow("keypad Enter on a focused digit key") << "Cmd_7" << int(Qt::Key_Enter) << true;
    QTest::newRow("digit pressed while the keypad is closed") << "Cmd_4" << 0 << false;
    QTest::newRow("back-space pressed while the keypad is closed") << "CmdBack" << 0 << false;
    QTest::newRow("OK pressed while the keypad is closed") << "cmdOK" << 0 << false;
}

void TestExercisePlay::inertInput()
{
    QFETCH(QString, control);
    QFETCH(int, key);
    QFETCH(bool, keypadOpen);
    Vortani *f = openAtLevel(1, 1);
    if (keypadOpen)
        FormHarness::click(f->cmdOper[3]);
    // The right answer is in the box, so a judgement or a keystroke would show.
    const QString answer = QString::number(resultOf(h->context.settings.CurrentTile));
    f->txtRisultato->setText(answer);
    h->sink.clips.clear();
    const QString hint = f->lblGiudizio->text();

    auto *target = f->findChild<QPushButton *>(control);
    FormHarness::activate(target, key);
    QCoreApplication::processEvents();
    QCOMPARE(f->txtRisultato->text(), answer);
    QVERIFY(h->sink.clips.isEmpty());
    QCOMPARE(h->context.settings.SolvedCount, qint16(0));
    QCOMPARE(h->context.settings.ShowHints, qint16(1));
    QCOMPARE(f->lblGiudizio->text(), hint);
    QCOMPARE(f->lblGiudizio->font().pointSizeF(), 18.0);
    QCOMPARE(visibleTiles(f), ExerciseSettings::TileCount);
}

void TestExercisePlay::answerIsJudged_data()
{
    // "{R}" is the open tile's result and "{R_}" its digits with blanks between them; "reads" is
    // the number the answer stands for: right exactly when it equals the result.
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("reads");
    QTest::addColumn<int>("entry");
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<bool>("muted");
    const auto L = Qt::LeftButton;
    // clang-format off
    QTest::newRow("right answer on the keypad") << "{R}" << "{R}" << Keypad << L << false;
    QTest::newRow("right answer, OK by the right button")
        << "{R}" << "{R}" << Keypad << Qt::RightButton << false;
    QTest::newRow("right answer, sound off") << "{R}" << "{R}" << Keypad << L << true;
    QTest::newRow("wrong answer on the keypad") << "{R}1" << "{R}1" << Keypad << L << false;
    QTest::newRow("wrong answer, OK by the middle button")
        << "{R}1" << "{R}1" << Keypad << Qt::MiddleButton << false;
    QTest::newRow("wrong answer, sound off") << "{R}1" << "{R}1" << Keypad << L << true;
    // clang-format on

    const QString zeros(300, u'0');
    const QList<std::array<QString, 3>> odd{
        {"letters only", "abc", "0"},
        {"empty box", "", "0"},
        {"result followed by letters", "{R}abc", "{R}"},
        {"letters before the result", "abc{R}", "0"},
        {"blanks around and between the digits", "  {R_} ", "{R}"},
        {"minus zero", "-0", "0"},
        {"negated result", "-{R}", "-{R}"},
        {"two minus signs", "--{R}", "0"},
        {"plus sign", "+{R}", "{R}"},
        {"decimal comma ends the number", "{R},5", "{R}"},
        {"three comma five", "3,5", "3"},
        {"decimal point counts", "{R}.5", "{R}.5"},
        {"second point ends the number", "{R}.5.5", "{R}.5"},
        {"trailing point", "{R}.", "{R}"},
        {"exponent is not read", "1e999", "1"},
        {"result with an exponent", "{R}e2", "{R}"},
        {"hexadecimal", "0x1F", "0"},
        {"hundreds of nines", QString(400, u'9'), "inf"},
        {"hundreds of leading zeros", zeros + "{R}", "{R}"},
        {"hundreds of zeros after the point", "{R}." + zeros, "{R}"},
        {"a tiny fraction", "0." + zeros + zeros + "1", "0"},
    };
    for (const auto &[name, input, reads] : odd) {
        QTest::newRow(qPrintable(name + ", typed")) << input << reads << Keyboard << L << false;
        QTest::newRow(qPrintable(name + ", pasted")) << input << reads << Paste << L << false;
    }
}

void TestExercisePlay::answerIsJudged()
{
    QFETCH(QString, input);
    QFETCH(QString, reads);
    QFETCH(int, entry);
    QFETCH(Qt::MouseButton, button);
    QFETCH(bool, muted);
    ExerciseSettings &s = h->context.settings;
    s.SoundMuted = muted;
    Vortani *f = openAtLevel(1, 3); // results of two digits or more
    QPushButton *tile = f->cmdOper[6];
    FormHarness::click(tile);
    const qint32 result = resultOf(6);
    const QString digits = QString::number(result);
    const QString spaced = digits.split(QString(), Qt::SkipEmptyParts).join(u' ');
    const auto fill = [&](QString t) {
        return t.replace(QStringLiteral("{R_}"), spaced).replace(QStringLiteral("{R}"), digits);
    };
    const QString text = fill(input);
    const QString number = fill(reads);
    const bool right = (number == u"inf" ? std::numeric_limits<double>::infinity()
                                         : number.toDouble()) == double(result);
    if (entry == Keypad) {
        keys(text);
    } else if (entry == Keyboard) {
        f->txtRisultato->setFocus();
        QTest::keyClicks(f->txtRisultato, text);
    } else {
        f->txtRisultato->insert(text);
    }
    QCOMPARE(f->txtRisultato->text(), text);
    h->sink.clips.clear();

    FormHarness::press(f->cmdOK, button);
    QCOMPARE(s.ShowHints, qint16(0));
    QCOMPARE(f->lblGiudizio->font().pointSizeF(), 28.0);
    QVERIFY(f->txtRisultato->text().isEmpty());
    QCOMPARE(h->sink.clips, muted ? QList<int>{} : QList<int>{right ? 104 : 103});
    QCOMPARE(s.CurrentTile, qint16(6));
    QCOMPARE(s.SolvedCount, qint16(right ? 1 : 0));
    QCOMPARE(tile->isVisible(), !right);
    QCOMPARE(f->Frame1->isEnabled(), !right);
    if (right) {
        QVERIFY2(Praise.contains(f->lblGiudizio->text()), qPrintable(f->lblGiudizio->text()));
        QCOMPARE(facesShown(f), QStringLiteral("Image2"));
    } else {
        QCOMPARE(f->lblGiudizio->text(), Wrong);
        QCOMPARE(highlightedTiles(f), QList<int>{6});
        QCOMPARE(facesShown(f), QStringLiteral("Image4"));
        QCOMPARE(QApplication::focusWidget(), f->txtRisultato);
    }
    QTest::mouseRelease(f->cmdOK, button, Qt::NoModifier, f->cmdOK->rect().center());
    // The verdict size lasts until the next form is loaded.
    QCOMPARE(h->openExercise(2)->lblGiudizio->font().pointSizeF(), 18.0);
}

void TestExercisePlay::inputQueuedDuringAClip_data()
{
    QTest::addColumn<int>("openTile");   // -1: no tile open yet
    QTest::addColumn<QString>("answer"); // typed on the open tile before acting
    QTest::addColumn<QString>("queued");
    QTest::addColumn<QString>("then");
    QTest::addColumn<bool>("muted");
    QTest::addColumn<int>("tile"); // the one left open; -1: the keypad ends closed
    QTest::addColumn<int>("solved");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<int>>("clips");
    // clang-format off
    QTest::newRow("tile click queued before another tile's click")
        << -1 << "" << "cmdOper_3" << "cmdOper_5" << false << 5 << 0 << "" << QList<int>{105, 105};
    QTest::newRow("tile click queued, sound off: it comes last")
        << -1 << "" << "cmdOper_3" << "cmdOper_5" << true << 3 << 0 << "" << QList<int>{};
    QTest::newRow("key queued before the first tile's click")
        << -1 << "" << "Cmd_7" << "cmdOper_5" << false << 5 << 0 << "" << QList<int>{105};
    QTest::newRow("key queued before another tile's click")
        << 2 << "" << "Cmd_7" << "cmdOper_5" << false << 5 << 0 << "" << QList<int>{105, 102};
    QTest::newRow("tile click queued before a right answer")
        << 4 << "right" << "cmdOper_3" << "cmdOK" << false << 3 << 1 << "" << QList<int>{104, 105};
    QTest::newRow("key queued before a right answer")
        << 4 << "right" << "Cmd_7" << "cmdOK" << false << -1 << 1 << "" << QList<int>{104};
    QTest::newRow("key queued before a wrong answer")
        << 4 << "wrong" << "Cmd_7" << "cmdOK" << false << 4 << 0 << "7" << QList<int>{103, 102};
    QTest::newRow("level click queued before a tile click")
        << 2 << "" << "Option3" << "cmdOper_5" << false << 5 << 0 << "" << QList<int>{105, 102};
    // clang-format on
}

void TestExercisePlay::inputQueuedDuringAClip()
{
    QFETCH(int, openTile);
    QFETCH(QString, answer);
    QFETCH(QString, queued);
    QFETCH(QString, then);
    QFETCH(bool, muted);
    QFETCH(int, tile);
    QFETCH(int, solved);
    QFETCH(QString, text);
    QFETCH(QList<int>, clips);
    ExerciseSettings &s = h->context.settings;
    s.SoundMuted = muted;
    Vortani *f = openAtLevel(1, 2);
    if (openTile >= 0) {
        FormHarness::click(f->cmdOper[std::size_t(openTile)]);
        if (!answer.isEmpty())
            keys(QString::number(resultOf(openTile) + (answer == u"right" ? 0 : 1)));
    }
    h->sink.clips.clear();
    FormHarness::queueClick(f->findChild<QWidget *>(queued));
    auto *target = f->findChild<QPushButton *>(then);
    if (target == f->cmdOK)
        FormHarness::press(target);
    else
        FormHarness::click(target);
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();

    QCOMPARE(h->sink.clips, clips);
    QCOMPARE(s.SolvedCount, qint16(solved));
    QCOMPARE(f->txtRisultato->text(), text);
    QCOMPARE(f->Frame1->isEnabled(), tile >= 0);
    QCOMPARE(highlightedTiles(f), tile >= 0 ? QList<int>{tile} : QList<int>{});
    if (tile >= 0)
        QCOMPARE(s.CurrentTile, qint16(tile));
    if (target == f->cmdOK)
        QTest::mouseRelease(target, Qt::LeftButton, Qt::NoModifier, target->rect().center());
}

void TestExercisePlay::wholePuzzle_data()
{
    QTest::addColumn<int>("operation");
    QTest::addColumn<int>("level");
    QTest::addColumn<bool>("muted");
    QTest::newRow("addition, level 1") << 1 << 1 << false;
    QTest::newRow("subtraction, level 2") << 2 << 2 << false;
    QTest::newRow("multiplication, level 3") << 3 << 3 << false;
    QTest::newRow("division, level 4") << 4 << 4 << false;
    QTest::newRow("division, level 2, sound off") << 4 << 2 << true;
}

void TestExercisePlay::wholePuzzle()
{
    QFETCH(int, operation);
    QFETCH(int, level);
    QFETCH(bool, muted);
    ExerciseSettings &s = h->context.settings;
    s.SoundMuted = muted;
    Vortani *f = h->openExercise(operation);
    FormHarness::click(h->level(level));
    QList<int> expected{102};

    // One slip first, on the tile that is solved first.
    const int order[] = {5, 0, 11, 3, 8, 1, 10, 6, 2, 9, 4, 7};
    FormHarness::click(f->cmdOper[5]);
    keys(QString::number(resultOf(5) + 1));
    FormHarness::press(f->cmdOK);
    expected << 105 << clipsForDigits(resultOf(5) + 1) << 103;
    QCOMPARE(f->lblGiudizio->text(), Wrong);

    for (int k = 0; k < ExerciseSettings::TileCount; ++k) {
        const int t = order[k];
        h->answerRight(t);
        expected << 105 << clipsForDigits(resultOf(t)) << 104;
        if (k + 1 < ExerciseSettings::TileCount) {
            QCOMPARE(s.SolvedCount, qint16(k + 1));
            QVERIFY2(Praise.contains(f->lblGiudizio->text()), qPrintable(f->lblGiudizio->text()));
        }
    }
    expected << 101;

    QCOMPARE(h->sink.clips, muted ? QList<int>{} : expected);
    QCOMPARE(f->lblGiudizio->text(), Finished);
    QCOMPARE(facesShown(f), QStringLiteral("Image3"));
    QCOMPARE(s.SolvedCount, qint16(0));
    QCOMPARE(visibleTiles(f), 0);
    QVERIFY(!f->Frame1->isEnabled());
    QVERIFY(!f->Option1->isChecked());
    QVERIFY(!f->Option2->isChecked());
    QVERIFY(!f->Option3->isChecked());
    // The last option is left as it was.
    QCOMPARE(f->Option4->isChecked(), level == 4);
}

void TestExercisePlay::praiseReachesEveryText()
{
    // Right answers draw from the whole list, its last text included. The twelfth answer of a
    // puzzle shows the finish text instead, so each puzzle counts eleven.
    Vortani *f = openAtLevel(1, 1);
    QSet<QString> shown;
    for (int puzzle = 0; puzzle < 10 && shown.size() < Praise.size(); ++puzzle) {
        for (int t = 0; t + 1 < ExerciseSettings::TileCount; ++t) {
            h->answerRight(t);
            shown.insert(f->lblGiudizio->text());
        }
        FormHarness::click(h->level(1));
    }
    QStringList sorted = shown.values();
    sorted.sort();
    QStringList expected = Praise;
    expected.sort();
    QCOMPARE(sorted, expected);
}

void TestExercisePlay::answeredDuringItsOwnClickSound()
{
    // The tile is clicked again with its right answer typed and OK already queued: the answer
    // is judged inside the click's sound, so the click must not open the solved tile again.
    Vortani *f = openAtLevel(1, 1);
    QPushButton *tile = f->cmdOper[3];
    FormHarness::click(tile);
    keys(QString::number(resultOf(3)));
    FormHarness::queueClick(f->cmdOK, false);
    f->cmdOper_Click(3);
    QCoreApplication::processEvents();
    QVERIFY(!tile->isVisible());
    QVERIFY(!f->Frame1->isEnabled());
    QCOMPARE(h->context.settings.SolvedCount, qint16(1));
    QCOMPARE(h->sink.clips.mid(h->sink.clips.size() - 2), (QList<int>{105, 104}));
}

void TestExercisePlay::physicalKeyboardWorksToo_data()
{
    QTest::addColumn<bool>("spaceOnTile");
    QTest::addColumn<bool>("keypadOpen");
    QTest::newRow("tile clicked, digits typed") << false << true;
    QTest::newRow("tile chosen with Space, digits typed") << true << true;
    QTest::newRow("keypad closed: digits stay out") << false << false;
}

void TestExercisePlay::physicalKeyboardWorksToo()
{
    QFETCH(bool, spaceOnTile);
    QFETCH(bool, keypadOpen);
    Vortani *f = openAtLevel(1, 2);
    QPushButton *tile = f->cmdOper[5];
    if (keypadOpen) {
        if (spaceOnTile) {
            tile->setFocus();
            QTest::keyClick(tile, Qt::Key_Space);
        } else {
            FormHarness::click(tile);
        }
    } else {
        tile->setFocus();
    }
    QCOMPARE(f->Frame1->isEnabled(), keypadOpen);
    const QString answer = QString::number(resultOf(5));
    // Typed where the focus is: on the tile, not in the box.
    QTest::keyClicks(QApplication::focusWidget(), answer + u'9');
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backspace);
    if (!keypadOpen) {
        QVERIFY(f->txtRisultato->text().isEmpty());
        return;
    }
    QCOMPARE(f->txtRisultato->text(), answer);
    QCOMPARE(QApplication::focusWidget(), f->txtRisultato);
    QTest::keyClick(f->txtRisultato, Qt::Key_Return);
    QVERIFY(!tile->isVisible());
    QCOMPARE(h->context.settings.SolvedCount, qint16(1));
    // With the keypad closed again, Enter in the box judges nothing more.
    QTest::keyClick(f->txtRisultato, Qt::Key_Return);
    QCOMPARE(h->context.settings.SolvedCount, qint16(1));
}

VORTANI_GUI_TEST_MAIN(TestExercisePlay)
#include "tst_exerciseplay.moc"
