// SPDX-License-Identifier: GPL-3.0-or-later
#include "FirstPaint.h"

#include "WebPage.h"

#include <QEvent>
#include <QWidget>

namespace {
// Tells the page once its widget has been painted, then goes.
class PaintWatcher : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            WebPage::formShown();
            watched->removeEventFilter(this);
            deleteLater();
        }
        return false;
    }
};
} // namespace

void FirstPaint::notifyWhenPainted(QWidget *form)
{
    form->installEventFilter(new PaintWatcher(form));
}
