// SPDX-License-Identifier: GPL-3.0-or-later
#include "Resources.h"

#include "Clips.h"

#include <QFile>
#include <QGuiApplication>
#include <QPixmap>

namespace {
QString clipPath(qint16 clipId)
{
    return QStringLiteral(":/sounds/clip%1.wav").arg(clipId);
}
} // namespace

QByteArray Resources::clipBytes(qint16 clipId)
{
    if (clipId < Clips::First || clipId > Clips::Last)
        return {};
    QFile file(clipPath(clipId));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

QIcon Resources::picture(QStringView kind, QStringView name)
{
    const QString path = QStringLiteral(":/%1/%2.svg").arg(kind, name);
    QIcon icon;
    // The same file for the disabled mode: controls in a closed frame keep their look.
    icon.addFile(path, {}, QIcon::Normal);
    icon.addFile(path, {}, QIcon::Disabled);
    return icon;
}

QIcon Resources::programIcon()
{
    return QIcon(QStringLiteral(":/icons/vortani.svg"));
}

QCursor Resources::handCursor()
{
    const qreal ratio = qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
    const bool large = ratio > 1.0;
    QPixmap hand(large ? QStringLiteral(":/cursors/hand@2x.png")
                       : QStringLiteral(":/cursors/hand.png"));
    if (large)
        hand.setDevicePixelRatio(2.0);
    return QCursor(hand, 6, 5);
}
