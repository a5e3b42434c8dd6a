// SPDX-License-Identifier: GPL-3.0-or-later
#include "MessageLabel.h"

#include <QAccessible>
#include <QEvent>

MessageLabel::MessageLabel(QWidget *parent) : QLabel(parent) {}

void MessageLabel::announce(const QString &text)
{
    setText(text);
    waiting = !text.isEmpty();
    if (waiting)
        readOutLater();
}

void MessageLabel::readOutLater()
{
    if (queued)
        return;
    queued = true;
    QMetaObject::invokeMethod(this, &MessageLabel::readOut, Qt::QueuedConnection);
}

void MessageLabel::readOut()
{
    queued = false;
    if (!waiting)
        return;
    if (!window()->isActiveWindow()) {
        window()->installEventFilter(this);
        return;
    }
    waiting = false;
    // Screen readers speak a notification as it is shown; a label's changed text they ignore.
    QAccessibleEvent shown(this, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&shown);
    Q_EMIT announced(text());
}

bool MessageLabel::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == window() && event->type() == QEvent::WindowActivate) {
        watched->removeEventFilter(this);
        // Posted, so that the window's activation and its focused control are told first.
        if (waiting)
            readOutLater();
    }
    return QLabel::eventFilter(watched, event);
}
