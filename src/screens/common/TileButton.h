// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPushButton>

// A puzzle tile: a push button whose caption wraps inside it. Its face is the style's, in
// exactly the tile's own colour (the palette's Button role), so the chosen tile's yellow reads
// as it is.
class TileButton : public QPushButton
{
public:
    explicit TileButton(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};
