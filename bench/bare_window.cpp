// SPDX-License-Identifier: GPL-3.0-or-later
// The yardstick for the start-up benchmark: the least a Qt Widgets program linking the game's Qt
// modules does to show a window of the start form's size and title.
#include "FormGeometry.h"
#include "GameTexts.h"

#include <QApplication>
#include <QPrintDialog>
#include <QWidget>
// The Linux game also loads Qt Multimedia and Qt SVG; the Windows one neither.
#if VORTANI_BARE_MULTIMEDIA_SVG
#include <QMediaDevices>
#include <QSvgRenderer>
#endif

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // Touch one symbol of each module so the linker keeps them all, as the game loads them;
    // nothing is constructed.
    [[maybe_unused]] const void *volatile modules[] = {
        &QPrintDialog::staticMetaObject,
#if VORTANI_BARE_MULTIMEDIA_SVG
        &QMediaDevices::staticMetaObject,
        &QSvgRenderer::staticMetaObject,
#endif
    };
    QWidget window;
    window.setWindowTitle(GameTexts::WindowTitle);
    window.setFixedSize(FormGeometry::FormSize);
    window.show();
    return app.exec();
}
