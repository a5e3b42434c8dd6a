// SPDX-License-Identifier: GPL-3.0-or-later
// The yardstick for the web edition's start-up: the least a Qt Widgets program built with the
// game's Qt for the web does to show a window of the start form's size, telling its page when
// that window is first painted, as the game tells its own.
#include "FormGeometry.h"
#include "GameTexts.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

#include <emscripten.h>

// clang-format off
EM_JS(void, pageFormShown, (), {
    const page = globalThis.vortaniPage;
    if (page) page.formShown();
});
// clang-format on

namespace {
// The game's page learns of its form the same way: on the first paint event.
class PaintWatcher : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            pageFormShown();
            watched->removeEventFilter(this);
            deleteLater();
        }
        return false;
    }
};
} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(GameTexts::WindowTitle);
    window.setFixedSize(FormGeometry::FormSize);
    window.installEventFilter(new PaintWatcher(&window));
    window.show();
    return app.exec();
}
