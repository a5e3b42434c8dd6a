// SPDX-License-Identifier: GPL-3.0-or-later
// Playing the exercise form: loading, levels, tiles, verdicts, whole puzzles.
#include "tst_exerciseplay.h"

#include "Clips.h"
#include "GameForm.h"

namespace {
// A form with nothing but the guarded clip.
class ProbeForm : public GameForm
{
public:
    explicit ProbeForm(GameContext &context) : GameForm(context, nullptr) {}
    using GameForm::beginUnloading;
    using GameForm::playClipAndRunWaitingInput;
};
} // namespace

void TestExercisePlay::init()
{
    h = std::make_unique<FormHarness>();
}

void TestExercisePlay::clipAnswersWhetherTheFormIsLoaded_data()
{
    QTest::addColumn<bool>("muted");
    QTest::addColumn<bool>("unloadWaiting");
    QTest::addColumn<bool>("loaded");
    QTest::addColumn<int>("clips");
    QTest::newRow("sound on, unloaded while the clip starts") << false << true << false << 1;
    // Silence handles no events: the unload still waits.
    QTest::newRow("sound off") << true << true << true << 0;
}

void TestExercisePlay::clipAnswersWhetherTheFormIsLoaded()
{
    QFETCH(bool, muted);
    QFETCH(bool, unloadWaiting);
    QFETCH(bool, loaded);
    QFETCH(int, clips);
    h->context.preferences.soundMuted = muted;
    ProbeForm form(h->context);
    if (unloadWaiting)
        QMetaObject::invokeMethod(
            &form, [&form] { form.beginUnloading(); }, Qt::QueuedConnection);
    QCOMPARE(form.playClipAndRunWaitingInput(Clips::Chime), loaded);
    QCOMPARE(h->sink.clips.size(), clips);
    QCoreApplication::processEvents();
    QCOMPARE(form.isUnloading(), unloadWaiting);
}

ExerciseForm *TestExercisePlay::openAtLevel(int operation, int level)
{
    ExerciseForm *f = h->openExercise(operation);
    FormHarness::click(h->level(level));
    h->sink.clips.clear();
    return f;
}

// Presses keypad keys, '<' standing for back-space, then lets the keystrokes arrive. No release
// follows: the keys act on the press alone.
void TestExercisePlay::keys(const QString &keys, Qt::MouseButton button)
{
    for (const QChar c : keys)
        FormHarness::press(c == u'<' ? h->form->eraseKey
                                     : h->form->digitKeys[std::size_t(c.digitValue())],
                           button);
    QCoreApplication::processEvents();
}

void TestExercisePlay::loadWaitsForALevel_data()
{
    QTest::addColumn<int>("operation");
    QTest::addColumn<bool>("hints");
    QTest::newRow("addition") << 1 << true;
    QTest::newRow("subtraction") << 2 << true;
    QTest::newRow("multiplication") << 3 << true;
    QTest::newRow("division") << 4 << true;
    QTest::newRow("division, hints off") << 4 << false;
}

void TestExercisePlay::loadWaitsForALevel()
{
    QFETCH(int, operation);
    QFETCH(bool, hints);
    h->context.preferences.showHints = hints;
    ExerciseForm *f = h->openExercise(operation);
    QCOMPARE(f->round().solvedCount(), 0);
    QVERIFY(!f->round().isDealt());
    QCOMPARE(f->verdictLine->font().pointSizeF(), 18.0);
    QCOMPARE(facesShown(f), QStringLiteral("neutralFace"));
    QVERIFY(!f->keypad->isEnabled());
    QVERIFY(!f->puzzleFrame->isEnabled());
    QCOMPARE(f->titleLabel->text(), titlesFor(operation).title);
    QCOMPARE(f->operationLabel->text(), titlesFor(operation).label);
    QCOMPARE(f->verdictLine->text() == GameTexts::LevelHint, hints);
    QVERIFY(h->sink.clips.isEmpty());
}

void TestExercisePlay::levelChoiceDeals_data()
{
    QTest::addColumn<int>("operation");
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("earlier"); // the level of the game under way
    QTest::addColumn<bool>("hints");
    QTest::addColumn<QList<int>>("bounds"); // firstMax, firstMin, secondMax, secondMin
    QTest::newRow("addition, level 1") << 1 << 1 << 2 << true << QList<int>{10, 1, 9, 1};
    QTest::newRow("addition, level 2") << 1 << 2 << 1 << true << QList<int>{100, 10, 9, 1};
    QTest::newRow("addition, level 3") << 1 << 3 << 1 << true << QList<int>{100, 10, 99, 10};
    QTest::newRow("addition, level 4") << 1 << 4 << 1 << true << QList<int>{999, 100, 99, 10};
    QTest::newRow("addition, level 2 chosen again")
        << 1 << 2 << 2 << true << QList<int>{100, 10, 9, 1};
    QTest::newRow("subtraction, level 4, hints off")
        << 2 << 4 << 1 << false << QList<int>{999, 100, 99, 10};
    QTest::newRow("multiplication, level 3") << 3 << 3 << 1 << true << QList<int>{100, 10, 99, 10};
    QTest::newRow("division, level 1") << 4 << 1 << 2 << true << QList<int>{10, 1, 9, 1};
    QTest::newRow("division, level 2") << 4 << 2 << 1 << false << QList<int>{100, 10, 9, 1};
    QTest::newRow("division, level 3 narrows the divisor")
        << 4 << 3 << 1 << true << QList<int>{100, 10, 9, 1};
    QTest::newRow("division, level 4 narrows both")
        << 4 << 4 << 1 << true << QList<int>{999, 10, 9, 1};
    QTest::newRow("division, level 4 chosen again")
        << 4 << 4 << 4 << true << QList<int>{999, 10, 9, 1};
}

void TestExercisePlay::levelChoiceDeals()
{
    QFETCH(int, operation);
    QFETCH(int, level);
    QFETCH(int, earlier);
    QFETCH(bool, hints);
    QFETCH(QList<int>, bounds);
    // A game under way: tile 0 solved, tile 2 open after a wrong answer, "5" typed.
    ExerciseForm *f = openAtLevel(operation, earlier);
    h->answerRight(0);
    FormHarness::click(f->tiles[2]);
    keys(QString::number(resultOf(2) + 1));
    FormHarness::press(f->okKey);
    QCOMPARE(facesShown(f), QStringLiteral("sadFace"));
    keys(QStringLiteral("5"));
    h->context.preferences.showHints = hints;
    const ExerciseChoice &s = h->context.choice;
    QStringList captions;
    for (const QPushButton *tile : f->tiles)
        captions << tile->text();
    int unchanged = 0;
    h->sink.clips.clear();

    FormHarness::click(h->level(level));
    QCOMPARE(h->sink.clips, ClipList{Clips::Blip});
    QCOMPARE(int(s.level), level);
    QCOMPARE((QList<int>{s.firstMax, s.firstMin, s.secondMax, s.secondMin}), bounds);
    QCOMPARE(f->round().solvedCount(), 0);
    QCOMPARE(facesShown(f), QStringLiteral("neutralFace"));
    QVERIFY(f->printButton->isEnabled());
    QVERIFY(f->puzzleFrame->isEnabled());
    for (int i = 0; i < TileGrid::Count; ++i) {
        const QPushButton *tile = f->tiles[std::size_t(i)];
        QVERIFY(tile->isVisible());
        QCOMPARE(colourOf(tile), Appearance::buttonFace());
        QCOMPARE(FormHarness::expectedFromCaption(tile->text()), qint64(resultOf(i)));
        unchanged += int(captions[i] == tile->text());
    }
    QVERIFY(unchanged < TileGrid::Count); // dealt anew
    QCOMPARE(f->verdictLine->text(), hints ? GameTexts::TileHint : QString());
    QCOMPARE(QApplication::focusWidget(), f->tiles[0]);
    // What belongs to the open tile stays as it was.
    QVERIFY(f->keypad->isEnabled());
    QCOMPARE(f->answerBox->text(), QStringLiteral("5"));
    QCOMPARE(f->round().openTile(), std::optional<int>(2));

    // The open tile now carries a new problem, and OK judges against that one.
    keys("<" + QString::number(resultOf(2)));
    h->sink.clips.clear();
    FormHarness::press(f->okKey);
    QCOMPARE(h->sink.clips, ClipList{Clips::Chime});
    QCOMPARE(f->round().solvedCount(), 1);
    QVERIFY(!f->tiles[2]->isVisible());
}

void TestExercisePlay::tileOpensTheKeypad_data()
{
    QTest::addColumn<bool>("hadTile");
    QTest::addColumn<bool>("hints");
    QTest::addColumn<bool>("muted");
    QTest::addColumn<int>("key"); // 0: a mouse click, -1: a tap
    QTest::newRow("first tile of the game") << false << true << false << 0;
    QTest::newRow("another tile takes the highlight") << true << true << false << 0;
    QTest::newRow("Space on a focused tile") << true << true << false << int(Qt::Key_Space);
    QTest::newRow("Return on a focused tile") << true << true << false << int(Qt::Key_Return);
    QTest::newRow("keypad Enter on a focused tile") << false << true << false << int(Qt::Key_Enter);
    QTest::newRow("a tap on a tile") << true << true << false << -1;
    QTest::newRow("hints off: no typing hint") << true << false << false << 0;
    QTest::newRow("sound off: no clip") << true << true << true << 0;
}

void TestExercisePlay::tileOpensTheKeypad()
{
    QFETCH(bool, hadTile);
    QFETCH(bool, hints);
    QFETCH(bool, muted);
    QFETCH(int, key);
    h->context.preferences.showHints = hints;
    h->context.preferences.soundMuted = muted;
    ExerciseForm *f = openAtLevel(2, 1);
    if (hadTile)
        FormHarness::click(f->tiles[4]);
    QCOMPARE(f->keypad->isEnabled(), hadTile);
    f->answerBox->setText(QStringLiteral("77"));
    h->sink.clips.clear();

    QPushButton *tile = f->tiles[9];
    FormHarness::activate(tile, key);
    QCOMPARE(h->sink.clips, muted ? ClipList{} : ClipList{Clips::Click});
    QVERIFY(f->keypad->isEnabled());
    QVERIFY(f->answerBox->text().isEmpty());
    QCOMPARE(f->round().openTile(), std::optional<int>(9));
    QCOMPARE(highlightedTiles(f), QList<int>{9});
    QCOMPARE(colourOf(f->tiles[4]), Appearance::buttonFace());
    QCOMPARE(f->verdictLine->text(), hints ? GameTexts::TypingHint : QString());
    QCOMPARE(QApplication::focusWidget(), tile);
    // The focus mark shows on the chosen tile, and its yellow stays exactly its own.
    const QImage look = tile->grab().toImage();
    QCOMPARE(look.pixelColor(4, 4), tile->palette().color(QPalette::ButtonText));
    QCOMPARE(look.pixelColor(7, 7), PaleYellow);
    QCOMPARE(look.pixelColor(tile->width() - 8, tile->height() / 2), PaleYellow);
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
    h->context.preferences.soundMuted = muted;
    ExerciseForm *f = openAtLevel(1, 3); // results of two digits or more
    QPushButton *tile = f->tiles[6];
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
        f->answerBox->setFocus();
        QTest::keyClicks(f->answerBox, text);
    } else {
        f->answerBox->insert(text);
    }
    QCOMPARE(f->answerBox->text(), text);
    h->sink.clips.clear();

    FormHarness::press(f->okKey, button);
    QVERIFY(!h->context.preferences.showHints);
    QCOMPARE(f->verdictLine->font().pointSizeF(), 28.0);
    QVERIFY(f->answerBox->text().isEmpty());
    QCOMPARE(h->sink.clips, muted ? ClipList{} : ClipList{right ? Clips::Chime : Clips::Oops});
    QCOMPARE(f->round().openTile(), right ? std::nullopt : std::optional<int>(6));
    QCOMPARE(f->round().isSolved(6), right);
    QCOMPARE(f->round().solvedCount(), right ? 1 : 0);
    QCOMPARE(tile->isVisible(), !right);
    QCOMPARE(f->keypad->isEnabled(), !right);
    if (right) {
        QVERIFY2(Praise.contains(f->verdictLine->text()), qPrintable(f->verdictLine->text()));
        QCOMPARE(facesShown(f), QStringLiteral("smilingFace"));
    } else {
        QCOMPARE(f->verdictLine->text(), GameTexts::WrongAnswer);
        QCOMPARE(highlightedTiles(f), QList<int>{6});
        QCOMPARE(facesShown(f), QStringLiteral("sadFace"));
        QCOMPARE(QApplication::focusWidget(), f->answerBox);
    }
    QTest::mouseRelease(f->okKey, button, Qt::NoModifier, f->okKey->rect().center());
    // The verdict size lasts until the next form is loaded.
    QCOMPARE(h->openExercise(2)->verdictLine->font().pointSizeF(), 18.0);
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
    h->context.preferences.soundMuted = muted;
    ExerciseForm *f = h->openExercise(operation);
    FormHarness::click(h->level(level));
    ClipList expected{Clips::Blip};

    // One slip first, on the tile that is solved first.
    const int order[] = {5, 0, 11, 3, 8, 1, 10, 6, 2, 9, 4, 7};
    FormHarness::click(f->tiles[5]);
    keys(QString::number(resultOf(5) + 1));
    FormHarness::press(f->okKey);
    expected << Clips::Click << clipsForDigits(resultOf(5) + 1) << Clips::Oops;
    QCOMPARE(f->verdictLine->text(), GameTexts::WrongAnswer);
    QCOMPARE(h->inconsistency(), QString());

    for (int k = 0; k < TileGrid::Count; ++k) {
        const int t = order[k];
        h->answerRight(t);
        expected << Clips::Click << clipsForDigits(resultOf(t)) << Clips::Chime;
        if (k + 1 < TileGrid::Count) {
            QCOMPARE(f->round().solvedCount(), k + 1);
            QVERIFY2(Praise.contains(f->verdictLine->text()), qPrintable(f->verdictLine->text()));
        }
    }
    expected << Clips::Fanfare;

    QCOMPARE(h->sink.clips, muted ? ClipList{} : expected);
    QCOMPARE(f->verdictLine->text(), GameTexts::Finished);
    QCOMPARE(facesShown(f), QStringLiteral("laughingFace"));
    QVERIFY(f->round().isFinished());
    QCOMPARE(visibleTiles(f), 0);
    QVERIFY(!f->keypad->isEnabled());
    QVERIFY(!f->levelButtons[0]->isChecked());
    QVERIFY(!f->levelButtons[1]->isChecked());
    QVERIFY(!f->levelButtons[2]->isChecked());
    // The last option is left as it was.
    QCOMPARE(f->levelButtons[3]->isChecked(), level == 4);
}

void TestExercisePlay::praiseReachesEveryText()
{
    // Right answers draw from the whole list, its last text included. The twelfth answer of a
    // puzzle shows the finish text instead, so each puzzle counts eleven.
    ExerciseForm *f = openAtLevel(1, 1);
    QSet<QString> shown;
    for (int puzzle = 0; puzzle < 10 && shown.size() < Praise.size(); ++puzzle) {
        for (int t = 0; t + 1 < TileGrid::Count; ++t) {
            h->answerRight(t);
            shown.insert(f->verdictLine->text());
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
    ExerciseForm *f = openAtLevel(1, 1);
    QPushButton *tile = f->tiles[3];
    FormHarness::click(tile);
    keys(QString::number(resultOf(3)));
    FormHarness::queueClick(f->okKey, false);
    f->openTile(3);
    QCoreApplication::processEvents();
    QVERIFY(!tile->isVisible());
    QVERIFY(!f->keypad->isEnabled());
    QCOMPARE(f->round().solvedCount(), 1);
    QCOMPARE(h->sink.clips.mid(h->sink.clips.size() - 2), (ClipList{Clips::Click, Clips::Chime}));
}

void TestExercisePlay::levelChosenDuringTheLastChime()
{
    // The level is dealt inside the chime of the puzzle's last answer: the new puzzle is not
    // finished, so neither the finish text nor the fanfare may follow.
    ExerciseForm *f = openAtLevel(1, 1);
    for (int t = 0; t + 1 < TileGrid::Count; ++t)
        h->answerRight(t);
    FormHarness::click(f->tiles[11]);
    keys(QString::number(resultOf(11)));
    h->sink.clips.clear();
    FormHarness::queueClick(h->level(2));
    FormHarness::press(f->okKey);
    QCoreApplication::processEvents();

    QCOMPARE(h->sink.clips, (ClipList{Clips::Chime, Clips::Blip}));
    QVERIFY(!f->round().isFinished());
    QCOMPARE(f->round().solvedCount(), 0);
    QCOMPARE(visibleTiles(f), TileGrid::Count);
    QVERIFY(f->verdictLine->text() != GameTexts::Finished);
    QCOMPARE(facesShown(f), QStringLiteral("neutralFace"));
    QCOMPARE(h->inconsistency(), QString());
}

VORTANI_GUI_TEST_MAIN(TestExercisePlay)
