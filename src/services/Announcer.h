// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QString;
class QWidget;

// What screen readers are told beyond what they see of the controls themselves.
namespace Announcer {
// Has screen readers read text out at once, as the widget's, while the focus stays where it is.
// The widget shows the text already. Where screen readers speak a notification as it is shown
// (AT-SPI), they speak the widget's accessible name: the message line's is its text, and a
// message box is read out by them when it opens.
void announce(QWidget *widget, const QString &text);

// Where screen readers cannot see the program's controls themselves (a page in a browser), has
// the name of each control of the form read out as it takes the focus; elsewhere they follow the
// focus on their own and this does nothing.
void followFocus(QWidget *form);
} // namespace Announcer
