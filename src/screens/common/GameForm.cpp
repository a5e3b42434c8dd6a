// SPDX-License-Identifier: GPL-3.0-or-later
#include "GameForm.h"

#include "ChoiceCounter.h"
#include "GameContext.h"
#include "Voice.h"

#include <QPointer>

GameForm::GameForm(GameContext &context, QWidget *parent) : QWidget(parent), context(context) {}

bool GameForm::playClipAndRunWaitingInput(qint16 clipId)
{
    // The context outlives every form; this one may not outlive the waiting events.
    const QPointer<GameForm> self(this);
    if (!context.preferences.soundMuted)
        context.player.play(clipId);
    return self && !self->unloading;
}

bool GameForm::playClipForLatestChoice(qint16 clipId, ChoiceCounter &choices)
{
    const int choice = choices.next();
    return playClipAndRunWaitingInput(clipId) && choices.isLatest(choice);
}

void GameForm::sayAloud(const QString &text)
{
    if (context.setup.voice && context.voice && !text.isEmpty())
        context.voice->say(text);
}
