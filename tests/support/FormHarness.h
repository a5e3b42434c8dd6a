// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ExerciseForm.h"
#include "GameContext.h"
#include "GameInvariants.h"
#include "GameTexts.h"
#include "PictureOptionButton.h"
#include "RecordingClipSink.h"
#include "TestMain.h"

#include <QPointer>
#include <QTest>

class QAbstractButton;
class StartForm;

// The title and the label the exercise form shows for an operation, 1 to 4.
inline const GameTexts::OperationTitles &titlesFor(int operation)
{
    return GameTexts::Titles[operationIndex(Operation(operation))];
}

// A game context with a recording clip sink and a seeded generator, and ways to drive the
// exercise form with real mouse events.
class FormHarness
{
public:
    explicit FormHarness(quint32 seed = 1, const ClassSetup &setup = {}, Voice *voice = nullptr);
    ~FormHarness();

    // Builds, loads and shows a fresh exercise form for an operation, active and focused.
    ExerciseForm *openExercise(int operation);

    // Mouse press (and release) in the middle of a widget, with any button.
    static void press(QWidget *widget, Qt::MouseButton button = Qt::LeftButton);
    static void click(QWidget *widget, Qt::MouseButton button = Qt::LeftButton);
    // A left press (and release) that waits in the event queue, as input arriving while a
    // handler runs would.
    static void queueClick(QWidget *widget, bool release = true);
    // A click; a tap of a finger for key -1; else that key typed on the focused widget
    // (Qt::Key_Enter as the keypad's Enter).
    static void activate(QWidget *widget, int key);
    // Presses (and releases) given as the window system gives them, each a few milliseconds
    // after the one before: from the second on, each quick pair arrives as a double click.
    static void quickPresses(QWidget *widget, int count, Qt::MouseButton button = Qt::LeftButton);
    // Quick taps of one finger on a touch screen.
    static void taps(QWidget *widget, int count);
    // Presses the keypad keys for the digits of text, then lets the keystrokes arrive.
    void typeOnKeypad(const QString &digits);
    // The result of the problem on a tile, worked out again from its caption.
    static qint64 expectedFromCaption(const QString &caption);
    QAbstractButton *level(int level) const;
    // Clicks a tile, types its right answer on the keypad and presses OK; then the form must
    // still agree with its round.
    void answerRight(int tile);
    // What the screens show against the round and the context, empty when all agrees: the start
    // screen and the exercise screen it opened, else the form.
    QString inconsistency(const StartForm *start = nullptr);

    RecordingClipSink sink;
    GameContext context;
    QPointer<ExerciseForm> form;
    GameInvariants invariants;
};
