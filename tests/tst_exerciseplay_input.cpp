// SPDX-License-Identifier: GPL-3.0-or-later
// How an answer gets into the box and what is judged: the keypad, presses of every kind and speed,
// taps, keys on focused buttons, input queued while a clip starts, the physical keyboard and its
// arrows among the tiles.
#include "tst_exerciseplay.h"

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
    h->context.preferences.soundMuted = muted;
    ExerciseForm *f = openAtLevel(1, 2);
    FormHarness::click(f->tiles[0]);
    f->answerBox->setText(before);
    if (selectFrom < 0) {
        FormHarness::click(f->answerBox);
        QTest::mouseDClick(f->answerBox, Qt::LeftButton, Qt::NoModifier,
                           f->answerBox->rect().center());
        QCOMPARE(f->answerBox->selectedText(), before);
        QCOMPARE(QApplication::focusWidget(), f->answerBox);
    } else if (selectLength > 0) {
        f->answerBox->setSelection(selectFrom, selectLength);
    }
    h->sink.clips.clear();
    keys(pressed, button);
    QCOMPARE(f->answerBox->text(), expected);
    QCOMPARE(QApplication::focusWidget(), f->answerBox);
    QCOMPARE(h->sink.clips, muted ? ClipList{} : ClipList(pressed.size(), Clips::Blip));
}

void TestExercisePlay::everyPressCounts_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<bool>("touch"); // taps of a finger instead of mouse presses
    QTest::addColumn<int>("count");
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<QString>("before"); // "{R}1": a wrong answer to the open tile
    QTest::addColumn<QString>("expected");
    QTest::addColumn<ClipList>("clips");
    const auto L = Qt::LeftButton;
    const ClipList two{Clips::Blip, Clips::Blip}, three{Clips::Blip, Clips::Blip, Clips::Blip};
    // clang-format off
    QTest::newRow("quick pair on a key") << "digitKey_1" << false << 2 << L << "" << "11" << two;
    QTest::newRow("quick triple on a key") << "digitKey_3" << false << 3 << L << "" << "333" << three;
    QTest::newRow("quick pair, right button") << "digitKey_2" << false << 2 << Qt::RightButton << "" << "22" << two;
    QTest::newRow("quick triple, middle button") << "digitKey_9" << false << 3 << Qt::MiddleButton << "" << "999" << three;
    QTest::newRow("quick pair on back-space") << "eraseKey" << false << 2 << L << "123" << "1" << two;
    QTest::newRow("quick pair on OK after a wrong answer judges twice")
        << "okKey" << false << 2 << L << "{R}1" << "" << ClipList{Clips::Oops, Clips::Oops};
    QTest::newRow("a tap on a key") << "digitKey_5" << true << 1 << L << "" << "5" << ClipList{Clips::Blip};
    QTest::newRow("two quick taps on a key") << "digitKey_5" << true << 2 << L << "" << "55" << two;
    QTest::newRow("three quick taps on a key") << "digitKey_8" << true << 3 << L << "" << "888" << three;
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
    QFETCH(ClipList, clips);
    ExerciseForm *f = openAtLevel(1, 1);
    FormHarness::click(f->tiles[6]);
    f->answerBox->setText(
        QString(before).replace(QStringLiteral("{R}"), QString::number(resultOf(6))));
    h->sink.clips.clear();

    auto *target = f->findChild<QPushButton *>(control);
    if (touch)
        FormHarness::taps(target, count);
    else
        FormHarness::quickPresses(target, count, button);
    QCOMPARE(f->answerBox->text(), expected);
    QCOMPARE(h->sink.clips, clips);
    QVERIFY(!target->isDown());
    if (control == u"okKey") {
        QCOMPARE(f->verdictLine->text(), GameTexts::WrongAnswer);
        QCOMPARE(f->round().solvedCount(), 0);
        return;
    }
    // Held, the key stays down although its press gave the focus to the answer box.
    QTest::mousePress(target, button, Qt::NoModifier, target->rect().center());
    QVERIFY(target->isDown());
    QCOMPARE(QApplication::focusWidget(), f->answerBox);
    QTest::mouseRelease(target, button, Qt::NoModifier, target->rect().center());
    QVERIFY(!target->isDown());
}

void TestExercisePlay::enterWorksTheFocusedButton_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("key");
    QTest::newRow("Return on the exit") << "exitButton" << int(Qt::Key_Return);
    QTest::newRow("keypad Enter on the exit") << "exitButton" << int(Qt::Key_Enter);
    QTest::newRow("Return on a level") << "levelButton_2" << int(Qt::Key_Return);
    QTest::newRow("keypad Enter on a level") << "levelButton_3" << int(Qt::Key_Enter);
}

void TestExercisePlay::enterWorksTheFocusedButton()
{
    QFETCH(QString, control);
    QFETCH(int, key);
    ExerciseForm *f = openAtLevel(2, 1);
    auto *target = f->findChild<QAbstractButton *>(control);
    target->setFocus();
    const auto modifier = key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier;
    QTest::keyPress(target, Qt::Key(key), modifier);
    QVERIFY(target->isDown()); // down while the key is held, as with Space
    QVERIFY(h->sink.clips.isEmpty());
    QTest::keyRelease(target, Qt::Key(key), modifier);
    if (control == u"exitButton") {
        QVERIFY(f->isUnloading());
        QCOMPARE(h->sink.clips, ClipList{Clips::Click});
    } else {
        QCOMPARE(h->context.choice.level, control.back().digitValue() + 1);
        QVERIFY(target->isChecked());
        QCOMPARE(h->sink.clips, ClipList{Clips::Blip});
    }
}

void TestExercisePlay::inertInput_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("key"); // 0: a mouse press
    QTest::addColumn<bool>("keypadOpen");
    QTest::newRow("Space on a focused digit key") << "digitKey_4" << int(Qt::Key_Space) << true;
    QTest::newRow("Return on a focused digit key") << "digitKey_4" << int(Qt::Key_Return) << true;
    QTest::newRow("Enter on a focused back-space") << "eraseKey" << int(Qt::Key_Enter) << true;
    QTest::newRow("Space on a focused OK") << "okKey" << int(Qt::Key_Space) << true;
    QTest::newRow("Return on a focused OK") << "okKey" << int(Qt::Key_Return) << true;
    QTest::newRow("keypad Enter on a focused OK") << "okKey" << int(Qt::Key_Enter) << true;
    QTest::newRow("keypad Enter on a focused digit key")
        << "digitKey_7" << int(Qt::Key_Enter) << true;
    QTest::newRow("digit pressed while the keypad is closed") << "digitKey_4" << 0 << false;
    QTest::newRow("back-space pressed while the keypad is closed") << "eraseKey" << 0 << false;
    QTest::newRow("OK pressed while the keypad is closed") << "okKey" << 0 << false;
}

void TestExercisePlay::inertInput()
{
    QFETCH(QString, control);
    QFETCH(int, key);
    QFETCH(bool, keypadOpen);
    ExerciseForm *f = openAtLevel(1, 1);
    if (keypadOpen)
        FormHarness::click(f->tiles[3]);
    // The right answer is in the box, so a judgement or a keystroke would show.
    const QString answer = QString::number(resultOf(f->round().openTile().value_or(0)));
    f->answerBox->setText(answer);
    h->sink.clips.clear();
    const QString hint = f->verdictLine->text();

    auto *target = f->findChild<QPushButton *>(control);
    FormHarness::activate(target, key);
    QCoreApplication::processEvents();
    QCOMPARE(f->answerBox->text(), answer);
    QVERIFY(h->sink.clips.isEmpty());
    QCOMPARE(f->round().solvedCount(), 0);
    QVERIFY(h->context.preferences.showHints);
    QCOMPARE(f->verdictLine->text(), hint);
    QCOMPARE(f->verdictLine->font().pointSizeF(), 18.0);
    QCOMPARE(visibleTiles(f), TileGrid::Count);
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
    QTest::addColumn<ClipList>("clips");
    // clang-format off
    QTest::newRow("tile click queued before another tile's click")
        << -1 << "" << "tile_3" << "tile_5" << false << 5 << 0 << "" << ClipList{Clips::Click, Clips::Click};
    QTest::newRow("tile click queued, sound off: it comes last")
        << -1 << "" << "tile_3" << "tile_5" << true << 3 << 0 << "" << ClipList{};
    QTest::newRow("key queued before the first tile's click")
        << -1 << "" << "digitKey_7" << "tile_5" << false << 5 << 0 << "" << ClipList{Clips::Click};
    QTest::newRow("key queued before another tile's click")
        << 2 << "" << "digitKey_7" << "tile_5" << false << 5 << 0 << "" << ClipList{Clips::Click, Clips::Blip};
    QTest::newRow("tile click queued before a right answer")
        << 4 << "right" << "tile_3" << "okKey" << false << 3 << 1 << "" << ClipList{Clips::Chime, Clips::Click};
    QTest::newRow("key queued before a right answer")
        << 4 << "right" << "digitKey_7" << "okKey" << false << -1 << 1 << "" << ClipList{Clips::Chime};
    QTest::newRow("key queued before a wrong answer")
        << 4 << "wrong" << "digitKey_7" << "okKey" << false << 4 << 0 << "7" << ClipList{Clips::Oops, Clips::Blip};
    QTest::newRow("level click queued before a tile click")
        << 2 << "" << "levelButton_2" << "tile_5" << false << 5 << 0 << "" << ClipList{Clips::Click, Clips::Blip};
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
    QFETCH(ClipList, clips);
    h->context.preferences.soundMuted = muted;
    ExerciseForm *f = openAtLevel(1, 2);
    if (openTile >= 0) {
        FormHarness::click(f->tiles[std::size_t(openTile)]);
        if (!answer.isEmpty())
            keys(QString::number(resultOf(openTile) + (answer == u"right" ? 0 : 1)));
    }
    h->sink.clips.clear();
    FormHarness::queueClick(f->findChild<QWidget *>(queued));
    auto *target = f->findChild<QPushButton *>(then);
    if (target == f->okKey)
        FormHarness::press(target);
    else
        FormHarness::click(target);
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();

    QCOMPARE(h->sink.clips, clips);
    QCOMPARE(f->round().solvedCount(), solved);
    QCOMPARE(f->answerBox->text(), text);
    QCOMPARE(f->keypad->isEnabled(), tile >= 0);
    QCOMPARE(highlightedTiles(f), tile >= 0 ? QList<int>{tile} : QList<int>{});
    QCOMPARE(f->round().openTile(), tile >= 0 ? std::optional<int>(tile) : std::nullopt);
    if (target == f->okKey)
        QTest::mouseRelease(target, Qt::LeftButton, Qt::NoModifier, target->rect().center());
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
    ExerciseForm *f = openAtLevel(1, 2);
    QPushButton *tile = f->tiles[5];
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
    QCOMPARE(f->keypad->isEnabled(), keypadOpen);
    const QString answer = QString::number(resultOf(5));
    // Typed where the focus is: on the tile, not in the box.
    QTest::keyClicks(QApplication::focusWidget(), answer + u'9');
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backspace);
    if (!keypadOpen) {
        QVERIFY(f->answerBox->text().isEmpty());
        return;
    }
    QCOMPARE(f->answerBox->text(), answer);
    QCOMPARE(QApplication::focusWidget(), f->answerBox);
    QTest::keyClick(f->answerBox, Qt::Key_Return);
    QVERIFY(!tile->isVisible());
    QCOMPARE(f->round().solvedCount(), 1);
    // With the keypad closed again, Enter in the box judges nothing more.
    QTest::keyClick(f->answerBox, Qt::Key_Return);
    QCOMPARE(f->round().solvedCount(), 1);
}

void TestExercisePlay::arrowsMoveAcrossTheGrid_data()
{
    // Tiles are numbered row by row, four to a row.
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("key");
    QTest::addColumn<QList<int>>("solved");
    QTest::addColumn<int>("to");
    const QList<int> none;
    // clang-format off
    QTest::newRow("Right: the tile to the right") << 5 << int(Qt::Key_Right) << none << 6;
    QTest::newRow("Left: the tile to the left") << 5 << int(Qt::Key_Left) << none << 4;
    QTest::newRow("Down: the tile below") << 5 << int(Qt::Key_Down) << none << 9;
    QTest::newRow("Up: the tile above") << 5 << int(Qt::Key_Up) << none << 1;
    QTest::newRow("Right at a row's end stays") << 7 << int(Qt::Key_Right) << none << 7;
    QTest::newRow("Left at a row's start stays") << 4 << int(Qt::Key_Left) << none << 4;
    QTest::newRow("Down on the last row stays") << 9 << int(Qt::Key_Down) << none << 9;
    QTest::newRow("Up on the first row stays") << 2 << int(Qt::Key_Up) << none << 2;
    QTest::newRow("Right over a solved tile") << 4 << int(Qt::Key_Right) << QList<int>{5} << 6;
    QTest::newRow("Up over a solved tile") << 10 << int(Qt::Key_Up) << QList<int>{6} << 2;
    QTest::newRow("Down with only solved tiles below stays")
        << 1 << int(Qt::Key_Down) << QList<int>{5, 9} << 1;
    // clang-format on
}

void TestExercisePlay::arrowsMoveAcrossTheGrid()
{
    QFETCH(int, from);
    QFETCH(int, key);
    QFETCH(QList<int>, solved);
    QFETCH(int, to);
    ExerciseForm *f = openAtLevel(1, 1);
    for (int t : solved)
        h->answerRight(t);
    // The open tile stays open: an arrow only moves the focus.
    FormHarness::click(f->tiles[3]);
    f->answerBox->setText(QStringLiteral("12"));
    h->sink.clips.clear();
    const auto start = f->tiles[std::size_t(from)];
    start->setFocus();
    QTest::keyClick(start, Qt::Key(key));
    QCOMPARE(QApplication::focusWidget(), f->tiles[std::size_t(to)]);
    // The number pad's arrows move the same way: the opposite one goes back.
    if (to != from) {
        const int back = key == Qt::Key_Right  ? Qt::Key_Left
                         : key == Qt::Key_Left ? Qt::Key_Right
                         : key == Qt::Key_Up   ? Qt::Key_Down
                                               : Qt::Key_Up;
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(back), Qt::KeypadModifier);
        QCOMPARE(QApplication::focusWidget(), start);
    }
    QCOMPARE(highlightedTiles(f), QList<int>{3});
    QCOMPARE(f->answerBox->text(), QStringLiteral("12"));
    QVERIFY(h->sink.clips.isEmpty());
}
