// SPDX-License-Identifier: GPL-3.0-or-later
#include "RasterPictureEngine.h"

#include <QPainter>
#include <QPixmap>

#include <algorithm>
#include <cmath>

void RasterPictureEngine::addDrawing(const QImage &image, QIcon::State state)
{
    if (image.isNull())
        return;
    const auto at = std::find_if(drawings.begin(), drawings.end(),
                                 [&](const Drawing &d) { return d.image.width() > image.width(); });
    drawings.insert(at, {image, state});
}

void RasterPictureEngine::paint(QPainter *painter, const QRect &rect, QIcon::Mode mode,
                                QIcon::State state)
{
    const qreal scale = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
    const QSize device(int(std::lround(rect.width() * scale)),
                       int(std::lround(rect.height() * scale)));
    const QPixmap picture = scaledPixmap(device, mode, state, scale);
    if (picture.isNull())
        return;
    // Centred, as Qt's engines place a picture that keeps its proportions.
    QRect where(QPoint(), picture.deviceIndependentSize().toSize());
    where.moveCenter(rect.center());
    painter->drawPixmap(where, picture);
}

QPixmap RasterPictureEngine::pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state)
{
    return scaledPixmap(size, mode, state, 1.0);
}

QPixmap RasterPictureEngine::scaledPixmap(const QSize &size, QIcon::Mode mode, QIcon::State state,
                                          qreal scale)
{
    // QIcon asks in device pixels already: its size times the density.
    const QSize device = actualSize(size, mode, state);
    if (device.isEmpty())
        return {};
    const Drawing *best = nullptr;
    for (const Drawing &d : std::as_const(drawings)) {
        if (d.state != state)
            continue;
        best = &d;
        if (d.image.width() >= device.width() && d.image.height() >= device.height())
            break;
    }
    if (!best)
        return {};
    QPixmap picture = QPixmap::fromImage(
        best->image.size() == device
            ? best->image
            : best->image.scaled(device, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    picture.setDevicePixelRatio(scale);
    return picture;
}

QSize RasterPictureEngine::actualSize(const QSize &size, QIcon::Mode, QIcon::State state)
{
    // The drawings of one picture share their proportions; the smallest gives them.
    for (const Drawing &d : std::as_const(drawings)) {
        if (d.state == state)
            return d.image.size().scaled(size, Qt::KeepAspectRatio);
    }
    return {};
}

QList<QSize> RasterPictureEngine::availableSizes(QIcon::Mode, QIcon::State state)
{
    QList<QSize> sizes;
    for (const Drawing &d : std::as_const(drawings)) {
        if (d.state == state)
            sizes << d.image.size();
    }
    return sizes;
}

QIconEngine *RasterPictureEngine::clone() const
{
    return new RasterPictureEngine(*this);
}

QString RasterPictureEngine::key() const
{
    return QStringLiteral("RasterPictureEngine");
}

bool RasterPictureEngine::isNull()
{
    return drawings.isEmpty();
}
