// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPushButton>

// A puzzle tile: its caption on a flat face of exactly its background colour (the palette's
// Button role), so that the chosen tile's yellow reads as it is, with a raised edge.
class TileButton : public QPushButton
{
public:
    explicit TileButton(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};
