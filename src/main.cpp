// SPDX-License-Identifier: GPL-3.0-or-later
#include "AppStyle.h"
#include "AudioClipSink.h"
#include "GameContext.h"
#include "Vortani.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    AppStyle::apply(app);

    AudioClipSink sink;
    GameContext context(sink, RandomSource::fromClock());
    context.settings.ShowHints = 1;
    context.settings.Operation = 1;
    auto *form = new Vortani(context);
    form->setAttribute(Qt::WA_DeleteOnClose);
    form->Form_Load();
    form->show();
    return app.exec();
}
