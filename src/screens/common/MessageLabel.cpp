// SPDX-License-Identifier: GPL-3.0-or-later
#include "MessageLabel.h"

#include "Announcer.h"

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
    Announcer::announce(this, text());
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

namespace {
// Reads a window's text out once, after the window's activation and focused control are told.
class WhenActive : public QObject
{
public:
    WhenActive(QWidget *window, const QString &text) : QObject(window), text(text)
    {
        if (window->isActiveWindow())
            readOutLater();
        else
            window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::WindowActivate) {
            watched->removeEventFilter(this);
            readOutLater();
        }
        return false;
    }

private:
    void readOutLater()
    {
        QMetaObject::invokeMethod(
            this,
            [this] {
                Announcer::announce(static_cast<QWidget *>(parent()), text);
                deleteLater();
            },
            Qt::QueuedConnection);
    }

    const QString text;
};
} // namespace

void announceWhenActive(QWidget *window, const QString &text)
{
    new WhenActive(window, text);
}
