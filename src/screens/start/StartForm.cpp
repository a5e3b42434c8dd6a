// SPDX-License-Identifier: GPL-3.0-or-later
#include "StartForm.h"

#include "Announcer.h"
#include "Appearance.h"
#include "AppVersion.h"
#include "Clips.h"
#include "EnterKey.h"
#include "ExerciseForm.h"
#include "GameContext.h"
#include "GameExit.h"
#include "WindowPlacement.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QPushButton>

#include <tuple>

StartForm::StartForm(GameContext &context, QWidget *parent) : GameForm(context, parent)
{
    setupLayout();
    for (std::size_t i = 0; i < operationButtons.size(); ++i)
        connect(operationButtons[i], &QPushButton::clicked, this,
                [this, i] { chooseOperation(Operations[i]); });
    connect(soundSwitch, &QPushButton::clicked, this, &StartForm::toggleSound);
    connect(exitButton, &QPushButton::clicked, this, &StartForm::quit);
    // Every push button takes the focus as the pointer passes over it, and Enter works the
    // focused one as Space does.
    for (QPushButton *b : findChildren<QPushButton *>())
        b->installEventFilter(this);
    offerTheClassSetup();
}

void StartForm::offerTheClassSetup()
{
    for (std::size_t i = 0; i < operationButtons.size(); ++i)
        if (!context.setup.offers(Operations[i]))
            Appearance::markNotOffered(operationButtons[i]);
    soundSwitch->setChecked(context.preferences.soundMuted);
    if (context.setup.sound == SoundStart::Locked)
        Appearance::markNotOffered(soundSwitch);
}

StartForm::~StartForm()
{
    delete exercise.data();
}

ExerciseForm *StartForm::exerciseForm() const
{
    return exercise;
}

bool StartForm::eventFilter(QObject *watched, QEvent *event)
{
    auto *button = qobject_cast<QPushButton *>(watched);
    if (!button)
        return QWidget::eventFilter(watched, event);
    // The sound switch has no pointer handler: the focus stays where it was as the pointer
    // passes over it.
    if (event->type() == QEvent::MouseMove && button != soundSwitch && button->isEnabled())
        button->setFocus(Qt::MouseFocusReason);
    if (EnterKey::clicks(button, event))
        return true;
    return QWidget::eventFilter(watched, event);
}

void StartForm::prepare()
{
    WindowPlacement::keepOnTop(this);
    Announcer::followFocus(this);
    QDir::setCurrent(QCoreApplication::applicationDirPath());
    versionLabel->setText(
        QStringLiteral("Versione %1.%2").arg(AppVersion::Major).arg(AppVersion::Minor));
    context.preferences.showHints = true;
}

void StartForm::chooseOperation(Operation operation)
{
    if (!context.setup.offers(operation))
        return;
    // Another operation chosen while this one's sound started has opened its screen already;
    // going on would change the operation under that screen's title.
    if (!playClipForLatestChoice(Clips::Click, operationChoices))
        return;
    context.choice.operation = operation;
    showExercise();
}

void StartForm::showExercise()
{
    // The open screen is only brought forward for its own operation. For another one it is
    // replaced, or its tiles would be dealt for an operation its titles do not name.
    if (exercise && !exercise->isUnloading() && exercise->operation() != context.choice.operation)
        exercise->unload();
    // A form that is on its way out counts as unloaded: the next choice builds a fresh one.
    if (!exercise || exercise->isUnloading()) {
        exercise = new ExerciseForm(context);
        connect(exercise, &ExerciseForm::leaving, this, &StartForm::comeBack);
        exercise->prepare();
    }
    exercise->show();
    exercise->raise();
    exercise->activateWindow();
}

void StartForm::comeBack()
{
    show();
    raise();
    activateWindow();
}

void StartForm::toggleSound()
{
    if (context.setup.sound == SoundStart::Locked)
        return;
    context.preferences.soundMuted = !context.preferences.soundMuted;
    // Heard only when switched back on; nothing follows it.
    std::ignore = playClipAndRunWaitingInput(Clips::Click);
}

void StartForm::quit()
{
    // Ends the program at once, without a sound. The forms go when the event loop has returned:
    // a handler of either form may still be waiting inside a clip further down the stack, and
    // stops when it resumes.
    beginUnloading();
    if (exercise)
        exercise->unload();
    hide();
    GameExit::endGame();
}

void StartForm::closeEvent(QCloseEvent *event)
{
    // The start screen is the main window: closing it through its frame ends the game too.
    event->accept();
    quit();
}
