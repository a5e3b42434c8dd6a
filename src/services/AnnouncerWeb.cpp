// SPDX-License-Identifier: GPL-3.0-or-later
#include "Announcer.h"

#include "WebPage.h"

#include <QAbstractButton>
#include <QEvent>
#include <QLineEdit>
#include <QWidget>

namespace {
// What a screen reader would say of a control: its name (a button's caption when it has none
// of its own), then its description, such as which tile it is.
QString spokenName(const QWidget *control)
{
    QString name = control->accessibleName();
    if (name.isEmpty())
        if (const auto *button = qobject_cast<const QAbstractButton *>(control))
            name = button->text().trimmed();
    if (const auto *box = qobject_cast<const QLineEdit *>(control); box && !box->text().isEmpty())
        name += QStringLiteral(": ") + box->text();
    const QString description = control->accessibleDescription();
    if (!description.isEmpty())
        name += name.isEmpty() ? description : QStringLiteral(", ") + description;
    return name;
}

// Reads out each control of its form as it takes the focus.
class FocusFollower : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::FocusIn && watched->isWidgetType()) {
            const auto *control = static_cast<QWidget *>(watched);
            if (const QString name = spokenName(control); !name.isEmpty())
                WebPage::announce(name);
        }
        return false;
    }
};
} // namespace

void Announcer::announce(QWidget *widget, const QString &text)
{
    static_cast<void>(widget);
    if (!text.isEmpty())
        WebPage::announce(text);
}

void Announcer::followFocus(QWidget *form)
{
    // The controls exist once the form is laid out; the follower is the form's, so it goes
    // with it.
    auto *follower = new FocusFollower(form);
    for (QWidget *control : form->findChildren<QWidget *>())
        if (control->focusPolicy() != Qt::NoFocus)
            control->installEventFilter(follower);
}
