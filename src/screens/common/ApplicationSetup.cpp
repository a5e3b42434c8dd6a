// SPDX-License-Identifier: GPL-3.0-or-later
#include "ApplicationSetup.h"

#include "Accessibility.h"
#include "AppVersion.h"
#include "ClassicStyle.h"
#include "Resources.h"
#include "SharperPictures.h"
#include "StandInFonts.h"

#include <QApplication>
#include <QFont>

void ApplicationSetup::apply(QApplication &app)
{
    QApplication::setApplicationName(QStringLiteral("Vortani Puzzle"));
    QApplication::setApplicationVersion(QString::fromLatin1(AppVersion::Text));
    // Before the first picture is made: each takes the drawings there are at that moment.
    SharperPictures::install();
    QApplication::setWindowIcon(Resources::programIcon());
    // Lets the desktop match the windows to the installed menu entry.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.vortani"));
    // The same classic buttons on every desktop: the tiles' highlight needs a face drawn in
    // exactly its colour; the colours themselves stay the desktop's.
    app.setStyle(new ClassicStyle);
    // Before the first font is asked for: a desktop without the forms' fonts gets their
    // look-alikes, not some serif face that cuts the titles off.
    StandInFonts::install();
    QApplication::setFont(QFont(QStringLiteral("Arial"), 9));
    Accessibility::install();
}
