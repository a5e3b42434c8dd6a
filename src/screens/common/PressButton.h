// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPushButton>

// A push button that acts on the press: it reports every press of any mouse button, the
// second of two quick presses too (it arrives as a double click), and a tap on a touch screen,
// which reaches it as a press. It looks held while the mouse button is down, even when its
// handler moves the focus away, as the keypad's does.
class PressButton : public QPushButton
{
    Q_OBJECT
public:
    explicit PressButton(QWidget *parent = nullptr);

Q_SIGNALS:
    // Pressed with any mouse button. The handler may let queued input run (the release among
    // it): the button is already down when this is emitted.
    void mouseDown();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    // The mouse button holding this one down, if any.
    Qt::MouseButton heldBy = Qt::NoButton;
};
