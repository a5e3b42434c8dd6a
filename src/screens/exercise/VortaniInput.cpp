// SPDX-License-Identifier: GPL-3.0-or-later
// The exercise form's input: which handler each control's events reach, the keypad's keys, and
// the pointer and keyboard help around them.
#include "Vortani.h"

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

void Vortani::connectHandlers()
{
    connect(Option1, &QAbstractButton::clicked, this, &Vortani::Option1_Click);
    connect(Option2, &QAbstractButton::clicked, this, &Vortani::Option2_Click);
    connect(Option3, &QAbstractButton::clicked, this, &Vortani::Option3_Click);
    connect(Option4, &QAbstractButton::clicked, this, &Vortani::Option4_Click);
    for (int i = 0; i < ExerciseSettings::TileCount; ++i)
        connect(cmdOper[std::size_t(i)], &QPushButton::clicked, this,
                [this, i] { cmdOper_Click(qint16(i)); });
    connect(cmdStampa, &QPushButton::clicked, this, &Vortani::cmdStampa_Click);
    connect(cmdEsci, &QPushButton::clicked, this, &Vortani::cmdEsci_Click);

    // The keypad and OK act on the press of any mouse button and have no click handler.
    for (const auto &[key, handler] :
         std::initializer_list<std::pair<PressButton *, void (Vortani::*)()>>{
             {Cmd_0, &Vortani::Cmd_0_MouseDown},
             {Cmd_1, &Vortani::Cmd_1_MouseDown},
             {Cmd_2, &Vortani::Cmd_2_MouseDown},
             {Cmd_3, &Vortani::Cmd_3_MouseDown},
             {Cmd_4, &Vortani::Cmd_4_MouseDown},
             {Cmd_5, &Vortani::Cmd_5_MouseDown},
             {Cmd_6, &Vortani::Cmd_6_MouseDown},
             {Cmd_7, &Vortani::Cmd_7_MouseDown},
             {Cmd_8, &Vortani::Cmd_8_MouseDown},
             {Cmd_9, &Vortani::Cmd_9_MouseDown},
             {CmdBack, &Vortani::CmdBack_MouseDown},
             {cmdOK, &Vortani::cmdOK_MouseDown}})
        connect(key, &PressButton::mouseDown, this, handler);

    // Every push button takes the focus as the pointer passes over it; Enter works the focused
    // button or level as Space does.
    for (QPushButton *b : findChildren<QPushButton *>())
        b->installEventFilter(this);
    for (QAbstractButton *o : {Option1, Option2, Option3, Option4})
        o->installEventFilter(this);
    txtRisultato->installEventFilter(this);
}

bool Vortani::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == txtRisultato) {
        // Seen before the box clears its selection on losing the focus.
        if (event->type() == QEvent::FocusOut)
            answerSelection = {txtRisultato->text(), txtRisultato->selectionStart(),
                               int(txtRisultato->selectedText().size())};
        // For a child without a mouse: Enter in the open answer box confirms, as OK does.
        const auto *key =
            event->type() == QEvent::KeyPress ? static_cast<QKeyEvent *>(event) : nullptr;
        if (key && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            Frame1->isEnabled()) {
            cmdOK_MouseDown();
            return true;
        }
        return QWidget::eventFilter(watched, event);
    }
    // Digits typed on the keyboard while a tile or a key has the focus go to the open answer
    // box, so that the physical keyboard works as well as the keypad.
    if (event->type() == QEvent::KeyPress && Frame1->isEnabled() &&
        qobject_cast<QPushButton *>(watched) && watched != cmdEsci && watched != cmdStampa) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const bool digit = key->text().size() == 1 && key->text().at(0).isDigit() &&
                           key->text().at(0).unicode() < 128;
        if (digit || key->key() == Qt::Key_Backspace) {
            txtRisultato->setFocus(Qt::OtherFocusReason);
            QKeyEvent copy(key->type(), key->key(), key->modifiers(), key->text());
            QCoreApplication::sendEvent(txtRisultato, &copy);
            return true;
        }
    }
    // Arrows move across the tiles as the grid looks. The focus chain runs from the last tile
    // to the first, and would take Right to the left and Down out of the puzzle.
    if (const auto *tile = qobject_cast<TileButton *>(watched);
        tile && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        const int columns = key == Qt::Key_Right ? 1 : key == Qt::Key_Left ? -1 : 0;
        const int rows = key == Qt::Key_Down ? 1 : key == Qt::Key_Up ? -1 : 0;
        if ((columns || rows) &&
            !(static_cast<QKeyEvent *>(event)->modifiers() & ~Qt::KeypadModifier)) {
            moveAmongTiles(int(std::find(cmdOper.begin(), cmdOper.end(), tile) - cmdOper.begin()),
                           columns, rows);
            return true;
        }
    }
    if (auto *clickable = qobject_cast<QAbstractButton *>(watched);
        clickable && !qobject_cast<PressButton *>(clickable) && EnterKey::clicks(clickable, event))
        return true;
    auto *button = qobject_cast<QPushButton *>(watched);
    // Filters see events before the widget does, also when it is disabled or hidden: those
    // must stay inert.
    if (!button || !button->isEnabled() || !button->isVisible())
        return QWidget::eventFilter(watched, event);
    if (event->type() == QEvent::MouseMove)
        button->setFocus(Qt::MouseFocusReason);
    return QWidget::eventFilter(watched, event);
}

void Vortani::moveAmongTiles(int from, int columns, int rows)
{
    constexpr int Rows = ExerciseSettings::TileCount / TileColumns;
    int column = from % TileColumns;
    int row = from / TileColumns;
    // Solved tiles are gone: the next one on in that direction takes the focus.
    for (;;) {
        column += columns;
        row += rows;
        if (column < 0 || column >= TileColumns || row < 0 || row >= Rows)
            return;
        TileButton *to = cmdOper[std::size_t(row * TileColumns + column)];
        if (to->isVisible()) {
            to->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

void Vortani::typeKey(int key, const QString &text)
{
    txtRisultato->setFocus(Qt::OtherFocusReason);
    if (answerSelection.start >= 0 && answerSelection.text == txtRisultato->text() &&
        !txtRisultato->hasSelectedText())
        txtRisultato->setSelection(answerSelection.start, answerSelection.length);
    answerSelection = {};
    // Delivered through the event queue, as a key typed on the keyboard would be: it lands at
    // the caret and replaces a selection.
    QCoreApplication::postEvent(txtRisultato,
                                new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier, text));
    QCoreApplication::postEvent(txtRisultato,
                                new QKeyEvent(QEvent::KeyRelease, key, Qt::NoModifier, text));
    if (context.settings.SoundMuted == 0)
        context.PlayClip(Clips::Blip);
}

void Vortani::Cmd_0_MouseDown()
{
    typeKey(Qt::Key_0, QStringLiteral("0"));
}

void Vortani::Cmd_1_MouseDown()
{
    typeKey(Qt::Key_1, QStringLiteral("1"));
}

void Vortani::Cmd_2_MouseDown()
{
    typeKey(Qt::Key_2, QStringLiteral("2"));
}

void Vortani::Cmd_3_MouseDown()
{
    typeKey(Qt::Key_3, QStringLiteral("3"));
}

void Vortani::Cmd_4_MouseDown()
{
    typeKey(Qt::Key_4, QStringLiteral("4"));
}

void Vortani::Cmd_5_MouseDown()
{
    typeKey(Qt::Key_5, QStringLiteral("5"));
}

void Vortani::Cmd_6_MouseDown()
{
    typeKey(Qt::Key_6, QStringLiteral("6"));
}

void Vortani::Cmd_7_MouseDown()
{
    typeKey(Qt::Key_7, QStringLiteral("7"));
}

void Vortani::Cmd_8_MouseDown()
{
    typeKey(Qt::Key_8, QStringLiteral("8"));
}

void Vortani::Cmd_9_MouseDown()
{
    typeKey(Qt::Key_9, QStringLiteral("9"));
}

void Vortani::CmdBack_MouseDown()
{
    typeKey(Qt::Key_Backspace, QStringLiteral("\b"));
}
