// SPDX-License-Identifier: GPL-3.0-or-later
#include "Resources.h"

#include "RasterPictureEngine.h"

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>

#include <initializer_list>
#include <utility>

namespace {
// A picture is an SVG file where Qt can draw SVG; elsewhere the build packs the drawings it
// made of it beforehand at one, two and four times its size.
QIcon makePicture(QStringView kind,
                  std::initializer_list<std::pair<QStringView, QIcon::State>> faces)
{
    const QString first = QStringLiteral(":/%1/%2.svg").arg(kind, faces.begin()->first);
    if (QFile::exists(first)) {
        QIcon icon;
        for (const auto &[name, state] : faces) {
            const QString file = QStringLiteral(":/%1/%2.svg").arg(kind, name);
            // The same file for the disabled mode: controls in a closed frame keep their look.
            icon.addFile(file, {}, QIcon::Normal, state);
            icon.addFile(file, {}, QIcon::Disabled, state);
        }
        return icon;
    }
    auto *engine = new RasterPictureEngine;
    for (const auto &[name, state] : faces) {
        for (const char *scale : {"", "@2x", "@4x"})
            engine->addDrawing(
                QImage(QStringLiteral(":/%1/%2%3.png").arg(kind, name, QLatin1String(scale))),
                state);
    }
    return QIcon(engine);
}
} // namespace

QIcon Resources::picture(QStringView kind, QStringView name)
{
    return makePicture(kind, {{name, QIcon::Off}});
}

QIcon Resources::switchPicture(QStringView kind, QStringView off, QStringView on)
{
    return makePicture(kind, {{off, QIcon::Off}, {on, QIcon::On}});
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
