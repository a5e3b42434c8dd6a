// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ClipPlayer.h"
#include "ExerciseSettings.h"
#include "RandomSource.h"

// What both screens share for the whole run: the exercise settings, the random generator the
// dealer and the praise draw from, and the clip player.
struct GameContext
{
    GameContext(ClipSink &sink, RandomSource random) : random(random), player(sink) {}

    ExerciseSettings settings;
    RandomSource random;
    ClipPlayer player;
};
