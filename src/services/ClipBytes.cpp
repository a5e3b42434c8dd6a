// SPDX-License-Identifier: GPL-3.0-or-later
#include "Clips.h"
#include "Resources.h"

#include <QFile>

// The clips travel as Qt resources, one WAV file each.
QByteArray Resources::clipBytes(qint16 clipId)
{
    if (clipId < Clips::First || clipId > Clips::Last)
        return {};
    QFile file(QStringLiteral(":/sounds/clip%1.wav").arg(clipId));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}
