// SPDX-License-Identifier: GPL-3.0-or-later
#include "SetTopmost.h"

#include "WebPage.h"

#include <QEvent>
#include <QWidget>

namespace {
// Tells the page once the form has been painted: until then the page shows it is loading.
class FirstPaint : public QObject
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

// A page has one window, the form shown last is the one on top: nothing to keep above.
void SetTopmost(QWidget *form)
{
    form->installEventFilter(new FirstPaint(form));
}
