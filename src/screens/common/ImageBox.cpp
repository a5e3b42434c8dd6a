// SPDX-License-Identifier: GPL-3.0-or-later
#include "ImageBox.h"

#include <QPainter>

ImageBox::ImageBox(QWidget *parent) : QWidget(parent)
{
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void ImageBox::setPicture(const QIcon &newPicture)
{
    picture = newPicture;
    bitmap = {};
    plain = QColor();
    update();
}

void ImageBox::setPixmap(const QPixmap &newPixmap)
{
    bitmap = newPixmap;
    picture = {};
    plain = QColor();
    if (!bitmap.isNull())
        resize(bitmap.deviceIndependentSize().toSize());
    update();
}

void ImageBox::setPlain(const QColor &colour)
{
    plain = colour;
    picture = {};
    bitmap = {};
    update();
}

void ImageBox::setBackground(const QColor &colour)
{
    background = colour;
    update();
}

void ImageBox::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (background.isValid())
        painter.fillRect(rect(), background);
    if (plain.isValid())
        painter.fillRect(rect(), plain);
    else if (!bitmap.isNull())
        painter.drawPixmap(0, 0, bitmap);
    else if (!picture.isNull())
        picture.paint(&painter, rect(), Qt::AlignCenter, QIcon::Normal);
}
