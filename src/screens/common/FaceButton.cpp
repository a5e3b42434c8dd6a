// SPDX-License-Identifier: GPL-3.0-or-later
#include "FaceButton.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

FaceButton::FaceButton(const QIcon &face, QWidget *parent) : QPushButton(parent), face(face)
{
    setIcon(face);
}

void FaceButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRect area = rect();
    // Pressed: the face sinks by a pixel under a light shade.
    face.paint(&painter, isDown() ? area.translated(1, 1) : area, Qt::AlignCenter, QIcon::Normal,
               isChecked() ? QIcon::On : QIcon::Off);
    if (isDown())
        painter.fillRect(area, QColor(0, 0, 0, 40));
    if (hasFocus()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = area.adjusted(2, 2, -2, -2);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
}
