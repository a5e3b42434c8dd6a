// SPDX-License-Identifier: GPL-3.0-or-later
#include "AppStyle.h"

#include "Accessibility.h"
#include "AppVersion.h"
#include "Resources.h"

#include <QApplication>
#include <QFont>
#include <QStyleFactory>

void AppStyle::apply(QApplication &app)
{
    QApplication::setApplicationName(QStringLiteral("Vortani Puzzle"));
    QApplication::setApplicationVersion(QString::fromLatin1(AppVersion::Text));
    QApplication::setWindowIcon(Resources::programIcon());
    // Lets the desktop match the windows to the installed menu entry.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.vortani"));
    // Fusion honours the background colour of push buttons on every desktop, which the tiles'
    // highlight needs; the colours themselves stay the desktop's.
    if (QStyle *fusion = QStyleFactory::create(QStringLiteral("Fusion")))
        app.setStyle(fusion);
    QApplication::setFont(QFont(QStringLiteral("Arial"), 9));
    Accessibility::install();
}
