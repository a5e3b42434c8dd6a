// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ProjectFacts.h"

// The program's own clips, by identifier: Clips::Fanfare, Blip, Oops, Chime and Click, and
// Clips::First .. Clips::Last, without a gap. They are named in cmake/ProjectFacts.cmake, which
// says when each plays and from which the build packs assets/sounds/clip<identifier>.wav.
namespace Clips = ProjectFacts::Clips;
