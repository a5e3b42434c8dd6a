// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWidget;

// Where the forms' windows lie among the desktop's.
namespace WindowPlacement {
// Keeps the form's window above all ordinary windows, without moving, resizing or activating
// it. Call before the window is first shown: changing the flag later re-creates the window.
void keepOnTop(QWidget *form);
} // namespace WindowPlacement
