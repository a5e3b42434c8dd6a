// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmSplash.h"

#include "AppVersion.h"
#include "Clips.h"
#include "EnterKey.h"
#include "GameContext.h"
#include "SetTopmost.h"
#include "Vortani.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QPushButton>

frmSplash::frmSplash(GameContext &context, QWidget *parent) : QWidget(parent), context(context)
{
    setupLayout();
    connect(cmdAdd, &QPushButton::clicked, this, &frmSplash::cmdAdd_Click);
    connect(cmdSott, &QPushButton::clicked, this, &frmSplash::cmdSott_Click);
    connect(cmdMolt, &QPushButton::clicked, this, &frmSplash::cmdMolt_Click);
    connect(cmdDiv, &QPushButton::clicked, this, &frmSplash::cmdDiv_Click);
    connect(Check1, &QPushButton::clicked, this, &frmSplash::Check1_Click);
    connect(cmdEsci, &QPushButton::clicked, this, &frmSplash::cmdEsci_Click);
    // Every push button takes the focus as the pointer passes over it, and Enter works the
    // focused one as Space does.
    for (QPushButton *b : {cmdAdd, cmdSott, cmdMolt, cmdDiv, cmdEsci, Check1})
        b->installEventFilter(this);
}

frmSplash::~frmSplash()
{
    delete exercise.data();
}

Vortani *frmSplash::exerciseForm() const
{
    return exercise;
}

bool frmSplash::eventFilter(QObject *watched, QEvent *event)
{
    auto *button = qobject_cast<QPushButton *>(watched);
    if (!button)
        return QWidget::eventFilter(watched, event);
    // The sound switch has no pointer handler: the focus stays where it was as the pointer
    // passes over it.
    if (event->type() == QEvent::MouseMove && button != Check1 && button->isEnabled())
        button->setFocus(Qt::MouseFocusReason);
    if (EnterKey::clicks(button, event))
        return true;
    return QWidget::eventFilter(watched, event);
}

void frmSplash::Form_Load()
{
    SetTopmost(this);
    QDir::setCurrent(QCoreApplication::applicationDirPath());
    lblVersion->setText(
        QStringLiteral("Versione %1.%2").arg(AppVersion::Major).arg(AppVersion::Minor));
    context.settings.ShowHints = 1;
}

void frmSplash::cmdAdd_Click()
{
    operationChosen(Operation::Addition);
}

void frmSplash::cmdSott_Click()
{
    operationChosen(Operation::Subtraction);
}

void frmSplash::cmdMolt_Click()
{
    operationChosen(Operation::Multiplication);
}

void frmSplash::cmdDiv_Click()
{
    operationChosen(Operation::Division);
}

void frmSplash::operationChosen(Operation operation)
{
    const int choice = ++operationChoices;
    if (context.settings.SoundMuted == 0) {
        context.PlayClip(Clips::Click);
        // Another operation chosen while this one's sound started has opened its screen
        // already; going on would change the operation under that screen's title.
        if (choice != operationChoices)
            return;
    }
    context.settings.Operation = operationCode(operation);
    showExercise();
}

void frmSplash::showExercise()
{
    // The open screen is only brought forward for its own operation. For another one it is
    // replaced, or its tiles would be dealt for an operation its titles do not name.
    if (exercise && !exercise->isUnloading() &&
        exercise->operation() != operationFromCode(context.settings.Operation))
        exercise->unload();
    // A form that is on its way out counts as unloaded: the next choice builds a fresh one.
    if (!exercise || exercise->isUnloading()) {
        exercise = new Vortani(context);
        // Closed through its frame it is unloaded, like leaving with its exit button.
        exercise->setAttribute(Qt::WA_DeleteOnClose);
        connect(exercise, &Vortani::leaving, this, &frmSplash::comeBack);
        exercise->Form_Load();
    }
    exercise->show();
    exercise->raise();
    exercise->activateWindow();
}

void frmSplash::comeBack()
{
    show();
    raise();
    activateWindow();
}

void frmSplash::Check1_Click()
{
    ExerciseSettings &s = context.settings;
    s.SoundMuted = s.SoundMuted == 0 ? 1 : 0;
    if (s.SoundMuted == 0)
        context.PlayClip(Clips::Click);
}

void frmSplash::cmdEsci_Click()
{
    // Ends the program at once, without a sound. The forms go when the event loop has returned:
    // a handler of the exercise form may still be waiting inside a clip further down the stack.
    if (exercise)
        exercise->hide();
    hide();
    QCoreApplication::exit(0);
}

void frmSplash::closeEvent(QCloseEvent *event)
{
    // The start screen is the main window: closing it through its frame ends the game too.
    event->accept();
    cmdEsci_Click();
}
