// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QPixmap>
#include <QWidget>

// An image control: either a vector picture stretched to the box, or a bitmap drawn at its own
// size from the top-left corner with the box taking that size. It never takes the focus and
// lets the mouse through to what lies beneath.
class ImageBox : public QWidget
{
    Q_OBJECT
public:
    explicit ImageBox(QWidget *parent = nullptr);

    // Stretched to the box.
    void setPicture(const QIcon &picture);
    // At its own size; the box is resized to it.
    void setPixmap(const QPixmap &pixmap);
    // A plain fill instead of any picture.
    void setPlain(const QColor &colour);
    // A box of its own colour beneath the picture, instead of a see-through one.
    void setBackground(const QColor &colour);

    const QPixmap &pixmap() const { return bitmap; }
    bool isPlain() const { return plain.isValid(); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QIcon picture;
    QPixmap bitmap;
    QColor plain;
    QColor background;
};
