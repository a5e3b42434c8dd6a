// SPDX-License-Identifier: GPL-3.0-or-later
#include "Resources.h"

#include <QFile>
#include <QGuiApplication>
#include <QPixmap>

QIcon Resources::picture(QStringView kind, QStringView name)
{
    const QString base = QStringLiteral(":/%1/%2").arg(kind, name);
    QStringList files(base + QStringLiteral(".svg"));
    // Where the build has no SVG renderer it packs the pictures drawn beforehand at several
    // scales; the icon picks the nearest larger one for the size and density it is painted at.
    if (!QFile::exists(files.first())) {
        files.clear();
        for (const char *scale : {"", "@2x", "@4x"})
            files << base + QLatin1String(scale) + QStringLiteral(".png");
    }
    QIcon icon;
    for (const QString &file : std::as_const(files)) {
        // The same file for the disabled mode: controls in a closed frame keep their look.
        icon.addFile(file, {}, QIcon::Normal);
        icon.addFile(file, {}, QIcon::Disabled);
    }
    return icon;
}

QIcon Resources::programIcon()
{
    return picture(u"icons", u"vortani");
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
