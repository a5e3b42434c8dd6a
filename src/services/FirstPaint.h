// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWidget;

// The moment the game can first be seen, for whatever shows it is loading meanwhile.
namespace FirstPaint {
// Once the form has been painted for the first time, tells the page it runs in (a web page
// shows that the game is loading until then); a desktop shows no such notice.
void notifyWhenPainted(QWidget *form);
} // namespace FirstPaint
