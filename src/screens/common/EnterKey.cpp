// SPDX-License-Identifier: GPL-3.0-or-later
#include "EnterKey.h"

#include <QAbstractButton>
#include <QKeyEvent>

bool EnterKey::clicks(QAbstractButton *button, QEvent *event)
{
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease)
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
        return false;
    if (!button->isEnabled() || !button->isVisible())
        return false;
    if (key->isAutoRepeat())
        return true;
    if (event->type() == QEvent::KeyPress) {
        button->setDown(true);
    } else if (button->isDown()) {
        // Only a button the press went down on: the focus may have moved in between.
        button->setDown(false);
        button->click();
    }
    return true;
}
