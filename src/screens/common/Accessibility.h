// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QLabel;
class QString;

// What screen readers see of the game's own kinds of controls, and how messages reach them.
namespace Accessibility {
// Level options read as radio buttons, pictures as graphics.
void install();
// Sets a message and tells assistive technology it changed, so that it is read out.
void announce(QLabel *label, const QString &text);
} // namespace Accessibility
