// SPDX-License-Identifier: GPL-3.0-or-later
#include "AppStyle.h"
#include "frmSplash.h"
#include "GameContext.h"
#include "SystemClipSink.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    AppStyle::apply(app);

    const auto sink = makeSystemClipSink();
    GameContext context(*sink, RandomSource::fromClock());
    frmSplash start(context);
    start.Form_Load();
    start.show();
    return app.exec();
}
