// SPDX-License-Identifier: GPL-3.0-or-later
#include "PressButton.h"

#include <QMouseEvent>

PressButton::PressButton(QWidget *parent) : QPushButton(parent) {}

void PressButton::mousePressEvent(QMouseEvent *event)
{
    // Let up meanwhile without a release of its own (disabled while held, say).
    if (!isDown())
        heldBy = Qt::NoButton;
    // A second press while one button already holds it down still counts.
    if (heldBy == Qt::NoButton) {
        heldBy = event->button();
        if (event->button() == Qt::LeftButton)
            QPushButton::mousePressEvent(event);
        else
            setDown(true); // the base class goes down for the left button only
    }
    event->accept();
    Q_EMIT mouseDown();
}

void PressButton::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != heldBy) {
        event->accept();
        return;
    }
    heldBy = Qt::NoButton;
    if (event->button() == Qt::LeftButton)
        QPushButton::mouseReleaseEvent(event);
    else
        setDown(false);
    event->accept();
}

void PressButton::focusOutEvent(QFocusEvent *event)
{
    // The base class lets a button up when it loses the focus; held by the mouse, it stays
    // down until the release.
    if (heldBy != Qt::NoButton && isDown())
        QWidget::focusOutEvent(event);
    else
        QPushButton::focusOutEvent(event);
}
