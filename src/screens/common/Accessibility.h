// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What screen readers see of the game's own kinds of controls.
namespace Accessibility {
// Forms read as windows, level options as radio buttons, pictures as graphics, the open tile
// as selected and the message line as a notification.
void install();
} // namespace Accessibility
