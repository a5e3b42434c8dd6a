// SPDX-License-Identifier: GPL-3.0-or-later
#include "Accessibility.h"

#include "GameForm.h"
#include "ImageBox.h"
#include "MessageLabel.h"
#include "PictureOptionButton.h"
#include "TileButton.h"

#include <QAccessible>
#include <QAccessibleWidget>

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

// A tile is a push button named by its problem; the open one is selected.
class TileAccessible : public QAccessibleWidget
{
public:
    explicit TileAccessible(TileButton *tile) : QAccessibleWidget(tile, QAccessible::Button) {}

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && tile()->accessibleName().isEmpty())
            return tile()->text();
        return QAccessibleWidget::text(t);
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.pressed = tile()->isDown();
        s.selectable = true;
        s.selected = tile()->isOpen();
        return s;
    }

    QStringList actionNames() const override
    {
        return QStringList{pressAction()} + QAccessibleWidget::actionNames();
    }

    void doAction(const QString &name) override
    {
        if (name != pressAction())
            QAccessibleWidget::doAction(name);
        else if (tile()->isEnabled())
            tile()->click();
    }

private:
    TileButton *tile() const { return static_cast<TileButton *>(widget()); }
};

// The message line is a notification, named by the text it shows: screen readers read a
// notification out when it is shown, without the focus moving to it.
class MessageAccessible : public QAccessibleWidget
{
public:
    explicit MessageAccessible(MessageLabel *label)
        : QAccessibleWidget(label, QAccessible::Notification)
    {
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name)
            return static_cast<MessageLabel *>(widget())->text();
        return QAccessibleWidget::text(t);
    }
};

QAccessibleInterface *gameControls(const QString &, QObject *object)
{
    if (auto *option = qobject_cast<PictureOptionButton *>(object))
        return new OptionAccessible(option);
    if (auto *tile = qobject_cast<TileButton *>(object))
        return new TileAccessible(tile);
    if (auto *message = qobject_cast<MessageLabel *>(object))
        return new MessageAccessible(message);
    if (auto *picture = qobject_cast<ImageBox *>(object))
        return new QAccessibleWidget(picture, QAccessible::Graphic);
    // As a window, a screen reader names a form by its title when it comes forward and reads
    // that title on request.
    if (auto *form = qobject_cast<GameForm *>(object); form && form->isWindow())
        return new QAccessibleWidget(form, QAccessible::Window);
    return nullptr;
}
} // namespace

void Accessibility::install()
{
    QAccessible::installFactory(gameControls);
}
