// SPDX-License-Identifier: GPL-3.0-or-later
#include "GameForm.h"

#include "GameContext.h"

GameForm::GameForm(GameContext &context, QWidget *parent) : QWidget(parent), context(context) {}

bool GameForm::playClip(qint16 clipId)
{
    if (!context.settings.soundMuted)
        context.player.play(clipId);
    return !unloading;
}
