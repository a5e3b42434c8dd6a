// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIconEngine>
#include <QImage>
#include <QList>

// A picture drawn beforehand at several scales. Asked for any size at any density (125 %,
// 150 %, 200 %), it takes the smallest drawing that is at least as large in device pixels and
// shrinks it smoothly to exactly that: sharp at fractional scales too, where Qt's own icon
// engine would stretch the smallest drawing. Disabled controls keep the same look.
class RasterPictureEngine : public QIconEngine
{
public:
    void addDrawing(const QImage &image, QIcon::State state);

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override;
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override;
    QPixmap scaledPixmap(const QSize &size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override;
    QSize actualSize(const QSize &size, QIcon::Mode mode, QIcon::State state) override;
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override;
    QIconEngine *clone() const override;
    QString key() const override;
    bool isNull() override;

private:
    struct Drawing
    {
        QImage image;
        QIcon::State state;
    };
    // Smallest first.
    QList<Drawing> drawings;
};
