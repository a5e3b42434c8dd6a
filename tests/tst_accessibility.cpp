// SPDX-License-Identifier: GPL-3.0-or-later
// What a screen reader is told: the forms as windows, the message line read out once per text
// while the focus stays put, the open tile, and a focus that is never left on nothing. What the
// real screen reader makes of it is the screen_reader test's.
#include "FormHarness.h"
#include "StartForm.h"
#include "tst_exerciseplay.h"

#include <QAccessible>

namespace {
// The pointer comes over a widget, as a hand moves it: from its corner to its middle, so that it
// moves even when it rested at the same place of the form before.
void pointAt(QWidget *widget)
{
    QTest::mouseMove(widget, QPoint(1, 1));
    QTest::mouseMove(widget);
}
} // namespace

class TestAccessibility : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void formsAreWindows_data();
    void formsAreWindows();
    void messagesAreReadOutOnce_data();
    void messagesAreReadOutOnce();
    void openTileIsSelected_data();
    void openTileIsSelected();
    void focusAfterARightAnswer_data();
    void focusAfterARightAnswer();

private:
    std::unique_ptr<FormHarness> h;
    // The message line's texts as they were handed to screen readers.
    QStringList readOut;
};

void TestAccessibility::init()
{
    h = std::make_unique<FormHarness>();
    readOut.clear();
}

void TestAccessibility::formsAreWindows_data()
{
    QTest::addColumn<int>("operation"); // 0: the start screen
    QTest::addColumn<QString>("name");
    QTest::newRow("start screen") << 0 << GameTexts::WindowTitle;
    QTest::newRow("addition") << 1
                              << GameTexts::WindowTitle + QStringLiteral(", ") + titlesFor(1).title;
}

void TestAccessibility::formsAreWindows()
{
    QFETCH(int, operation);
    QFETCH(QString, name);
    StartForm start(h->context);
    QWidget *form = &start;
    if (operation)
        form = h->openExercise(operation);
    QAccessibleInterface *window = QAccessible::queryAccessibleInterface(form);
    QCOMPARE(window->role(), QAccessible::Window);
    QCOMPARE(window->text(QAccessible::Name), name);
    // The title on screen is the game's alone.
    QCOMPARE(form->windowTitle(), GameTexts::WindowTitle);
}

void TestAccessibility::messagesAreReadOutOnce_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<bool>("hints");
    QTest::addColumn<bool>("muted");
    QTest::addColumn<QStringList>("expected"); // "{praise}": any one praise
    QTest::newRow("a level") << "level" << true << false << QStringList{GameTexts::TileHint};
    QTest::newRow("a tile") << "tile" << true << false << QStringList{GameTexts::TypingHint};
    QTest::newRow("a wrong answer")
        << "wrong" << true << false << QStringList{GameTexts::WrongAnswer};
    QTest::newRow("the same wrong answer again")
        << "wrong again" << false << false << QStringList{GameTexts::WrongAnswer};
    QTest::newRow("a right answer") << "right" << false << false << QStringList{"{praise}"};
    // The praise shows while the chime starts, then the finish replaces it.
    QTest::newRow("the last right answer")
        << "last" << false << false << QStringList{"{praise}", GameTexts::Finished};
    QTest::newRow("the last right answer, sound off: no praise is ever shown")
        << "last" << false << true << QStringList{GameTexts::Finished};
}

void TestAccessibility::messagesAreReadOutOnce()
{
    QFETCH(QString, action);
    QFETCH(bool, hints);
    QFETCH(bool, muted);
    QFETCH(QStringList, expected);
    h->context.preferences.soundMuted = muted;
    h->context.preferences.showHints = true;
    h->context.choice.operation = Operation::Addition;
    // Not before the window is active: the screen reader names the window first.
    auto *f = new ExerciseForm(h->context);
    h->form = f;
    connect(f->verdictLine, &MessageLabel::announced, this,
            [this](const QString &text) { readOut << text; });
    f->prepare();
    QCoreApplication::processEvents();
    QVERIFY(readOut.isEmpty());
    f->show();
    f->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(f));
    QTRY_COMPARE(readOut, QStringList{GameTexts::LevelHint});

    if (action != u"level")
        FormHarness::click(h->level(1));
    if (action == u"last")
        for (int t = 1; t < TileGrid::Count; ++t)
            h->answerRight(t);
    if (action == u"wrong again") {
        FormHarness::click(f->tiles[0]);
        f->answerBox->setText(QString::number(f->round().problem(0).result + 1));
        FormHarness::click(f->okKey);
    }
    QCoreApplication::processEvents();
    h->context.preferences.showHints = hints;
    readOut.clear();

    if (action == u"level") {
        FormHarness::click(h->level(2));
    } else if (action == u"tile") {
        FormHarness::click(f->tiles[0]);
    } else {
        FormHarness::click(f->tiles[0]);
        QCoreApplication::processEvents();
        readOut.clear();
        pointAt(f->okKey); // which gives OK the focus
        QTRY_COMPARE(QApplication::focusWidget(), f->okKey);
        const bool right = action == u"right" || action == u"last";
        f->answerBox->setText(QString::number(f->round().problem(0).result + (right ? 0 : 1)));
        FormHarness::click(f->okKey);
    }
    QWidget *focus = QApplication::focusWidget();
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    for (qsizetype i = 0; i < expected.size() && i < readOut.size(); ++i)
        if (expected[i] == u"{praise}" && Praise.contains(readOut[i]))
            expected[i] = readOut[i];
    QCOMPARE(readOut, expected);
    QCOMPARE(f->verdictLine->text(), expected.isEmpty() ? f->verdictLine->text() : expected.last());
    // Read out where it is: the focus is where the game put it.
    QCOMPARE(QApplication::focusWidget(), focus);
    QAccessibleInterface *line = QAccessible::queryAccessibleInterface(f->verdictLine);
    QCOMPARE(line->role(), QAccessible::Notification);
    QCOMPARE(line->text(QAccessible::Name), f->verdictLine->text());
}

void TestAccessibility::openTileIsSelected_data()
{
    QTest::addColumn<QString>("then");
    QTest::addColumn<int>("open"); // the tile read as open afterwards, -1: none
    QTest::newRow("the tile opened") << "" << 3;
    QTest::newRow("another tile opened") << "tile_7" << 7;
    QTest::newRow("a wrong answer keeps it open") << "wrong" << 3;
    QTest::newRow("solved, it closes") << "right" << -1;
    QTest::newRow("a level chosen again clears it") << "levelButton_1" << -1;
}

void TestAccessibility::openTileIsSelected()
{
    QFETCH(QString, then);
    QFETCH(int, open);
    ExerciseForm *f = h->openExercise(1);
    FormHarness::click(h->level(1));
    FormHarness::click(f->tiles[3]);
    if (then == u"wrong" || then == u"right") {
        const int result = f->round().problem(3).result;
        f->answerBox->setText(QString::number(then == u"right" ? result : result + 1));
        FormHarness::click(f->okKey);
    } else if (!then.isEmpty()) {
        FormHarness::click(f->findChild<QAbstractButton *>(then));
    }
    for (int i = 0; i < TileGrid::Count; ++i) {
        QAccessibleInterface *tile = QAccessible::queryAccessibleInterface(f->tiles[i]);
        QCOMPARE(tile->role(), QAccessible::Button);
        QCOMPARE(tile->text(QAccessible::Name), f->tiles[i]->text());
        QCOMPARE(tile->state().selected, i == open);
        QCOMPARE(tile->text(QAccessible::Description),
                 QStringLiteral("Tessera %1").arg(i + 1) +
                     (i == open ? QStringLiteral(", aperta") : QString()));
    }
    // What the screen reader says is what the screen shows.
    QCOMPARE(highlightedTiles(f), open >= 0 ? QList<int>{open} : QList<int>{});
}

void TestAccessibility::focusAfterARightAnswer_data()
{
    QTest::addColumn<int>("tile");
    QTest::addColumn<QList<int>>("solvedBefore");
    QTest::addColumn<bool>("enter"); // confirmed with Enter in the answer box instead of on OK
    QTest::addColumn<QString>("focus");
    QList<int> allBut6{0, 1, 2, 3, 4, 5, 7, 8, 9, 10, 11};
    QTest::newRow("OK under the pointer: the next tile") << 4 << QList<int>{} << false << "tile_5";
    QTest::newRow("the next ones solved: the first one showing")
        << 4 << QList<int>{5, 6} << false << "tile_7";
    QTest::newRow("the grid's last tile: round to the first showing")
        << 11 << QList<int>{0} << false << "tile_1";
    QTest::newRow("Enter in the answer box: the focus stays there")
        << 4 << QList<int>{} << true << "answerBox";
    QTest::newRow("the puzzle's last tile: the level it was played at")
        << 6 << allBut6 << false << "levelButton_1";
}

void TestAccessibility::focusAfterARightAnswer()
{
    QFETCH(int, tile);
    QFETCH(QList<int>, solvedBefore);
    QFETCH(bool, enter);
    QFETCH(QString, focus);
    ExerciseForm *f = h->openExercise(1);
    FormHarness::click(h->level(2));
    for (int t : solvedBefore)
        h->answerRight(t);
    FormHarness::click(f->tiles[tile]);
    const QString answer = QString::number(f->round().problem(tile).result);
    if (enter) {
        f->answerBox->setFocus();
        QTest::keyClicks(f->answerBox, answer);
        QTest::keyClick(f->answerBox, Qt::Key_Return);
    } else {
        f->answerBox->setText(answer);
        pointAt(f->okKey);
        QTRY_COMPARE(QApplication::focusWidget(), f->okKey);
        FormHarness::click(f->okKey);
    }
    QVERIFY(!f->tiles[tile]->isVisible());
    QVERIFY(!f->keypad->isEnabled());
    QVERIFY(QApplication::focusWidget());
    QCOMPARE(QApplication::focusWidget()->objectName(), focus);
    // Mouse play is as it was: the pointer hands the focus to the button it passes over.
    pointAt(f->exitButton);
    QTRY_COMPARE(QApplication::focusWidget(), f->exitButton);
}

VORTANI_GUI_TEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
