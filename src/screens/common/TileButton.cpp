// SPDX-License-Identifier: GPL-3.0-or-later
#include "TileButton.h"

#include "Appearance.h"
#include "ClassicStyle.h"

#include <QAccessible>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>

TileButton::TileButton(int number, QWidget *parent) : QPushButton(parent), number(number)
{
    // The problem is the tile's name; the description says which tile it is.
    setAccessibleDescription(QStringLiteral("Tessera %1").arg(number));
}

void TileButton::setOpen(bool isOpen)
{
    Appearance::setColour(this, QPalette::Button,
                          isOpen ? Appearance::SelectedTile : Appearance::buttonFace());
    if (open == isOpen)
        return;
    open = isOpen;
    // The yellow is not seen by everyone: the description, read with the tile, says it too.
    setAccessibleDescription(open ? QStringLiteral("Tessera %1, aperta").arg(number)
                                  : QStringLiteral("Tessera %1").arg(number));
    QAccessible::State changed;
    changed.selected = true;
    QAccessibleStateChangeEvent event(this, changed);
    QAccessible::updateAccessibility(&event);
}

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
