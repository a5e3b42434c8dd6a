// SPDX-License-Identifier: GPL-3.0-or-later
// The yardstick for the web edition's start-up: the least a Qt Widgets program built with the
// game's Qt for the web does to show a window of the start form's size, telling its page when
// that window is first painted, as the game tells its own.
#include "FirstPaint.h"
#include "FormGeometry.h"
#include "GameTexts.h"

#include <QApplication>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(GameTexts::WindowTitle);
    window.setFixedSize(FormGeometry::FormSize);
    FirstPaint::notifyWhenPainted(&window);
    window.show();
    return app.exec();
}
