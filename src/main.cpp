// SPDX-License-Identifier: GPL-3.0-or-later
#include "ApplicationSetup.h"
#include "FirstPaint.h"
#include "GameContext.h"
#include "StartForm.h"
#include "SystemClipSink.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    ApplicationSetup::apply(app);

    const auto sink = SystemClipSink::make();
    GameContext context(*sink, RandomSource::fromClock());
    StartForm start(context);
    start.prepare();
    FirstPaint::notifyWhenPainted(&start);
    start.show();
    return app.exec();
}
