// SPDX-License-Identifier: GPL-3.0-or-later
// The exercise form's input: which handler each control's events reach, the keypad's keys, and
// the pointer and keyboard help around them.
#include "ExerciseForm.h"

#include "Clips.h"
#include "EnterKey.h"
#include "GameContext.h"
#include "PictureOptionButton.h"
#include "PressButton.h"
#include "TileButton.h"

#include <QCoreApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>
#include <tuple>

void ExerciseForm::connectHandlers()
{
    for (std::size_t i = 0; i < levelButtons.size(); ++i)
        connect(levelButtons[i], &QAbstractButton::clicked, this,
                [this, i] { chooseLevel(int(i) + 1); });
    for (std::size_t i = 0; i < tiles.size(); ++i)
        connect(tiles[i], &QPushButton::clicked, this, [this, i] { openTile(int(i)); });
    connect(printButton, &QPushButton::clicked, this, &ExerciseForm::printScreen);
    connect(exitButton, &QPushButton::clicked, this, &ExerciseForm::leave);

    // The keypad and OK act on the press of any mouse button and have no click handler.
    for (std::size_t digit = 0; digit < digitKeys.size(); ++digit)
        connect(digitKeys[digit], &PressButton::mouseDown, this,
                [this, digit] { typeDigit(int(digit)); });
    connect(eraseKey, &PressButton::mouseDown, this, &ExerciseForm::eraseDigit);
    connect(okKey, &PressButton::mouseDown, this, &ExerciseForm::judgeAnswer);

    // Every push button takes the focus as the pointer passes over it; Enter works the focused
    // button or level as Space does.
    for (QPushButton *b : findChildren<QPushButton *>())
        b->installEventFilter(this);
    for (QAbstractButton *b : levelButtons)
        b->installEventFilter(this);
    answerBox->installEventFilter(this);
}

bool ExerciseForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == answerBox)
        return filterAnswerBox(event) || QWidget::eventFilter(watched, event);
    if (routeToAnswerBox(watched, event) || moveByArrow(watched, event))
        return true;
    if (auto *clickable = qobject_cast<QAbstractButton *>(watched);
        clickable && !qobject_cast<PressButton *>(clickable) && EnterKey::clicks(clickable, event))
        return true;
    // Filters see events before the widget does, also when it is disabled or hidden: those
    // must stay inert.
    auto *button = qobject_cast<QPushButton *>(watched);
    if (button && button->isEnabled() && button->isVisible() && event->type() == QEvent::MouseMove)
        button->setFocus(Qt::MouseFocusReason);
    return QWidget::eventFilter(watched, event);
}

bool ExerciseForm::filterAnswerBox(QEvent *event)
{
    // Seen before the box clears its selection on losing the focus.
    if (event->type() == QEvent::FocusOut)
        answerSelection = {answerBox->text(), answerBox->selectionStart(),
                           int(answerBox->selectedText().size())};
    // For a child without a mouse: Enter in the open answer box confirms, as OK does.
    if (event->type() != QEvent::KeyPress || !roundInPlay.openTile())
        return false;
    const int key = static_cast<QKeyEvent *>(event)->key();
    if (key != Qt::Key_Return && key != Qt::Key_Enter)
        return false;
    judgeAnswer();
    return true;
}

bool ExerciseForm::routeToAnswerBox(QObject *watched, QEvent *event)
{
    // Digits typed on the keyboard while a tile or a key has the focus go to the open answer
    // box, so that the physical keyboard works as well as the keypad.
    if (event->type() != QEvent::KeyPress || !roundInPlay.openTile() ||
        !qobject_cast<QPushButton *>(watched) || watched == exitButton || watched == printButton)
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    const bool digit =
        key->text().size() == 1 && key->text().at(0).isDigit() && key->text().at(0).unicode() < 128;
    if (!digit && key->key() != Qt::Key_Backspace)
        return false;
    answerBox->setFocus(Qt::OtherFocusReason);
    QKeyEvent copy(key->type(), key->key(), key->modifiers(), key->text());
    QCoreApplication::sendEvent(answerBox, &copy);
    return true;
}

bool ExerciseForm::moveByArrow(QObject *watched, QEvent *event)
{
    // Arrows move across the tiles as the grid looks. The focus chain runs from the last tile
    // to the first, and would take Right to the left and Down out of the puzzle.
    const auto *tile = qobject_cast<TileButton *>(watched);
    if (!tile || event->type() != QEvent::KeyPress)
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    const int columns = key->key() == Qt::Key_Right ? 1 : key->key() == Qt::Key_Left ? -1 : 0;
    const int rows = key->key() == Qt::Key_Down ? 1 : key->key() == Qt::Key_Up ? -1 : 0;
    if ((!columns && !rows) || (key->modifiers() & ~Qt::KeypadModifier))
        return false;
    moveAmongTiles(int(std::find(tiles.begin(), tiles.end(), tile) - tiles.begin()), columns, rows);
    return true;
}

void ExerciseForm::moveAmongTiles(int from, int columns, int rows)
{
    int column = from % TileGrid::Columns;
    int row = from / TileGrid::Columns;
    // Solved tiles are gone: the next one on in that direction takes the focus.
    for (;;) {
        column += columns;
        row += rows;
        if (column < 0 || column >= TileGrid::Columns || row < 0 || row >= TileGrid::Rows)
            return;
        const int to = row * TileGrid::Columns + column;
        if (!roundInPlay.isSolved(to)) {
            tiles[std::size_t(to)]->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

void ExerciseForm::typeKey(int key, const QString &text)
{
    answerBox->setFocus(Qt::OtherFocusReason);
    if (answerSelection.start >= 0 && answerSelection.text == answerBox->text() &&
        !answerBox->hasSelectedText())
        answerBox->setSelection(answerSelection.start, answerSelection.length);
    answerSelection = {};
    // Delivered through the event queue, as a key typed on the keyboard would be: it lands at
    // the caret and replaces a selection.
    QCoreApplication::postEvent(answerBox,
                                new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier, text));
    QCoreApplication::postEvent(answerBox,
                                new QKeyEvent(QEvent::KeyRelease, key, Qt::NoModifier, text));
    // Nothing follows the key's sound.
    std::ignore = playClipAndRunWaitingInput(Clips::Blip);
}

void ExerciseForm::typeDigit(int digit)
{
    if (digit < 0 || digit >= DigitCount)
        return;
    typeKey(Qt::Key_0 + digit, QString(QChar(u'0' + digit)));
}

void ExerciseForm::eraseDigit()
{
    typeKey(Qt::Key_Backspace, QStringLiteral("\b"));
}
