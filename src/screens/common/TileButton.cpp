// SPDX-License-Identifier: GPL-3.0-or-later
#include "TileButton.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

TileButton::TileButton(QWidget *parent) : QPushButton(parent) {}

void TileButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QPalette &pal = palette();
    const QColor face = pal.color(QPalette::Button);
    const QRect area = rect();
    painter.fillRect(area, face);

    // A two-pixel bevel: light above and left, dark below and right; the other way when held.
    const QColor light = face.lighter(135);
    const QColor dark = face.darker(150);
    const QColor top = isDown() ? dark : light;
    const QColor bottom = isDown() ? light : dark;
    for (int i = 0; i < 2; ++i) {
        const QRect r = area.adjusted(i, i, -i - 1, -i - 1);
        painter.setPen(top);
        painter.drawLine(r.topLeft(), r.topRight());
        painter.drawLine(r.topLeft(), r.bottomLeft());
        painter.setPen(bottom);
        painter.drawLine(r.bottomLeft(), r.bottomRight());
        painter.drawLine(r.topRight(), r.bottomRight());
    }

    painter.setPen(pal.color(QPalette::ButtonText));
    painter.setFont(font());
    const QRect textArea = isDown() ? area.translated(1, 1) : area;
    painter.drawText(textArea, Qt::AlignCenter | Qt::TextWordWrap, text());

    if (hasFocus()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.backgroundColor = face;
        option.rect = area.adjusted(5, 5, -5, -5);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
}
