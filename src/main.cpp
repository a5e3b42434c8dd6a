// SPDX-License-Identifier: GPL-3.0-or-later
#include "ApplicationSetup.h"
#include "CommandLine.h"
#include "FirstPaint.h"
#include "GameContext.h"
#include "GrownUpNotice.h"
#include "StartForm.h"
#include "SystemClipSink.h"
#include "SystemVoice.h"

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
    // No speech engine is even asked for unless the class reads aloud.
    const auto voice = request.setup.voice ? SystemVoice::make() : nullptr;
    GameContext context(*sink, RandomSource::fromClock(), request.setup, voice.get());
    StartForm start(context);
    start.prepare();
    FirstPaint::notifyWhenPainted(&start);
    start.show();
    return app.exec();
}
