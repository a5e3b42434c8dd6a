// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "TileGrid.h"

#include <QPointer>
#include <QString>

#include <array>

class ExerciseForm;
class GameContext;
class StartForm;

// What the screens show held against the game's model: one face, the solved tiles hidden, the
// keypad open exactly while the round has an open tile, which alone is lit, the captions the
// round's problems, the level button the choice's level and the sound switch the preferences.
// Each check answers an empty string when all holds, else what is wrong.
class GameInvariants
{
public:
    QString check(const ExerciseForm &form, const GameContext &context);
    // The start screen and the exercise screen it opened, if that is still there.
    QString check(const StartForm &start, const GameContext &context);

private:
    QString checkCaptions(const ExerciseForm &form);

    // The captions last accepted, so that a storm does not parse unchanged tiles again.
    QPointer<const ExerciseForm> checkedForm;
    std::array<QString, TileGrid::Count> checkedCaptions;
};
