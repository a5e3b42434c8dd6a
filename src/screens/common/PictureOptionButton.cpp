// SPDX-License-Identifier: GPL-3.0-or-later
#include "PictureOptionButton.h"

#include "ClassicStyle.h"

#include <QAccessible>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

PictureOptionButton::PictureOptionButton(const QIcon &normalFace, const QIcon &selectedFace,
                                         QWidget *parent)
    : QAbstractButton(parent), normalFace(normalFace), selectedFace(selectedFace)
{
    setCheckable(true);
    setAutoExclusive(true);
    setFocusPolicy(Qt::StrongFocus);
    setAutoFillBackground(true);
    connect(this, &QAbstractButton::toggled, this, [this] {
        QAccessible::State changed;
        changed.checked = true;
        QAccessibleStateChangeEvent event(this, changed);
        QAccessible::updateAccessibility(&event);
    });
}

void PictureOptionButton::clearSelection()
{
    if (!isChecked())
        return;
    setAutoExclusive(false);
    setChecked(false);
    setAutoExclusive(true);
}

QSize PictureOptionButton::sizeHint() const
{
    return {85, 21};
}

void PictureOptionButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QIcon &face = isChecked() ? selectedFace : normalFace;
    // The face fills the whole button, also one taller than the picture: rendered large and
    // brought down to the button's size, it stays sharp.
    constexpr int Oversample = 4;
    const qreal ratio = devicePixelRatioF();
    QPixmap picture = face.pixmap(size() * Oversample, ratio, QIcon::Normal);
    // Greyed only when switched off itself, not inside a disabled frame.
    if (testAttribute(Qt::WA_ForceDisabled))
        picture = ClassicStyle::washedOut(picture);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(rect(), picture);
    if (hasFocus()) {
        QStyleOption option;
        option.initFrom(this);
        ClassicStyle::drawFocusMark(style(), &painter, option, rect().adjusted(1, 1, -1, -1), this);
    }
}
