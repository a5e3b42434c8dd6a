// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLabel>

// The line that talks to the child. A screen reader reads each of its texts out once, as it
// appears, while the focus stays where it is.
class MessageLabel : public QLabel
{
    Q_OBJECT
public:
    explicit MessageLabel(QWidget *parent = nullptr);

    // Shows text, and has it read out once the program next handles its waiting events: a text
    // replaced before then was never on the screen. In a window that is not active it waits until
    // the window is, so that it follows the window's name and focused control.
    void announce(const QString &text);

Q_SIGNALS:
    // A text handed to screen readers, at the moment it is.
    void announced(const QString &text);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void readOutLater();
    void readOut();

    bool waiting = false; // a text not yet read out
    bool queued = false;  // readOut() is posted
};

// Has a window's text read out once, when the window is active: after its name and its focused
// control, as the message line does. For a message box, whose text a screen reader does not read
// out by itself everywhere.
void announceWhenActive(QWidget *window, const QString &text);
