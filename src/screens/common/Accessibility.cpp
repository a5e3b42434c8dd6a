// SPDX-License-Identifier: GPL-3.0-or-later
#include "Accessibility.h"

#include "ImageBox.h"
#include "PictureOptionButton.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QLabel>

namespace {
// A picture option is a radio button to a screen reader: checkable, checked when selected.
class OptionAccessible : public QAccessibleWidget
{
public:
    explicit OptionAccessible(PictureOptionButton *option)
        : QAccessibleWidget(option, QAccessible::RadioButton)
    {
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.checkable = true;
        s.checked = option()->isChecked();
        return s;
    }

    QStringList actionNames() const override { return {pressAction()}; }

    void doAction(const QString &name) override
    {
        if (name == pressAction() && option()->isEnabled())
            option()->click();
    }

private:
    PictureOptionButton *option() const { return static_cast<PictureOptionButton *>(widget()); }
};

QAccessibleInterface *gameControls(const QString &, QObject *object)
{
    if (auto *option = qobject_cast<PictureOptionButton *>(object))
        return new OptionAccessible(option);
    if (auto *picture = qobject_cast<ImageBox *>(object))
        return new QAccessibleWidget(picture, QAccessible::Graphic);
    return nullptr;
}
} // namespace

void Accessibility::install()
{
    QAccessible::installFactory(gameControls);
}

void Accessibility::announce(QLabel *label, const QString &text)
{
    label->setText(text);
    if (!QAccessible::isActive())
        return;
    QAccessibleEvent changed(label, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&changed);
    QAccessibleEvent alert(label, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
}
