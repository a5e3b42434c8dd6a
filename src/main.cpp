// SPDX-License-Identifier: GPL-3.0-or-later
#include "ApplicationSetup.h"
#include "CommandLine.h"
#include "FirstPaint.h"
#include "GameContext.h"
#include "GrownUpNotice.h"
#include "StartForm.h"
#include "SystemClipSink.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // A set-up that cannot be read starts no game at all, rather than half of it.
    const CommandLine::Request request = CommandLine::read(QCoreApplication::arguments());
    if (request.kind != CommandLine::Kind::Play)
        return GrownUpNotice::answer(request);
    ApplicationSetup::apply(app);

    const auto sink = SystemClipSink::make();
    GameContext context(*sink, RandomSource::fromClock(), request.setup);
    StartForm start(context);
    start.prepare();
    FirstPaint::notifyWhenPainted(&start);
    start.show();
    return app.exec();
}
