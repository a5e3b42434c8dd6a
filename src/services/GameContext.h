// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ChildPreferences.h"
#include "ClassSetup.h"
#include "ClipPlayer.h"
#include "ExerciseChoice.h"
#include "PuzzlePictures.h"
#include "RandomSource.h"

class Voice;

// What both screens share for the whole run: the class's set-up, the child's preferences, the
// exercise chosen, the random generator the dealer and the praise draw from, the clip player and
// the voice that reads aloud, only when the set-up asks for one.
struct GameContext
{
    GameContext(ClipSink &sink, RandomSource random, const ClassSetup &setup = {},
                Voice *voice = nullptr)
        : setup(setup), random(random), player(sink), voice(voice)
    {
        preferences.soundMuted = setup.sound != SoundStart::On;
    }

    const ClassSetup setup;
    ChildPreferences preferences;
    ExerciseChoice choice;
    RandomSource random;
    ClipPlayer player;
    Voice *const voice;
    PuzzlePictures *pictures = &PuzzlePictures::system();
};
