// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QApplication;

// What the whole application needs before a form is built.
namespace ApplicationSetup {
// Names the application and gives it its icon (with the pictures' sharper drawings where they
// come apart from the program), the classic style, the forms' fonts (with their look-alikes
// where the system lacks them) and what screen readers see of the game's own controls. The
// program and the tests that show its forms call it first.
void apply(QApplication &app);
} // namespace ApplicationSetup
