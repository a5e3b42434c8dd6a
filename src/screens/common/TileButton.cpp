// SPDX-License-Identifier: GPL-3.0-or-later
#include "TileButton.h"

#include "ClassicStyle.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>

TileButton::TileButton(QWidget *parent) : QPushButton(parent) {}

void TileButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    style()->drawPrimitive(QStyle::PE_PanelButtonCommand, &option, &painter, this);

    // The caption wraps, so that the longest problems still fit on the tile.
    painter.setPen(option.palette.color(QPalette::ButtonText));
    painter.setFont(font());
    const QRect textArea = isDown() ? rect().translated(1, 1) : rect();
    painter.drawText(textArea, Qt::AlignCenter | Qt::TextWordWrap, text());

    if (option.state & QStyle::State_HasFocus)
        ClassicStyle::drawFocusMark(style(), &painter, option, ClassicStyle::focusMarkRect(rect()),
                                    this);
}
