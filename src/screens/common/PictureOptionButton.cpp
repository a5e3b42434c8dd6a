// SPDX-License-Identifier: GPL-3.0-or-later
#include "PictureOptionButton.h"

#include <QAccessible>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

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
    // The faces are 85 x 21; a taller box shows its background colour below.
    const QRect faceRect(0, 0, width(), qMin(height(), 21));
    face.paint(&painter, faceRect, Qt::AlignCenter, QIcon::Normal);
    if (hasFocus()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = faceRect.adjusted(1, 1, -1, -1);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
}
