// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPushButton>

// A puzzle tile: a push button whose caption wraps inside it. Its face is the style's, in
// exactly the tile's own colour (the palette's Button role), so the chosen tile's yellow reads
// as it is.
class TileButton : public QPushButton
{
    Q_OBJECT
public:
    // number: the tile's place counted from 1, row by row, which a screen reader names.
    explicit TileButton(int number, QWidget *parent = nullptr);

    // The open tile, the one the keypad answers: pale yellow, and selected to a screen reader.
    void setOpen(bool open);
    bool isOpen() const { return open; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int number;
    bool open = false;
};
