// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QAbstractButton;
class QEvent;

namespace EnterKey {
// Return and the keypad's Enter work a focused button as Space does: down on the press, a
// click on the release, once however long the key is held. Returns true for the key events
// it took; call it from an event filter on buttons that have a click handler.
bool clicks(QAbstractButton *button, QEvent *event);
} // namespace EnterKey
