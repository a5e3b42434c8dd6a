// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestMain.h"

#include "ApplicationSetup.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include <memory>

int TestMain::run(int argc, char **argv, const TestSetup &setup, QObject *(*makeTest)())
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (setup.noPrinter)
        qputenv("CUPS_SERVER", "/nonexistent/vortani-test-no-cups.sock");
    // An empty runtime folder, a server address that leads nowhere and no starting of a server
    // on demand; the folders live as long as the tests run.
    QTemporaryDir runtime;
    QTemporaryDir config;
    if (setup.noSoundServer) {
        if (!runtime.isValid() || !config.isValid())
            return 2;
        const QString clientConf = config.filePath(QStringLiteral("client.conf"));
        QFile conf(clientConf);
        if (!conf.open(QIODevice::WriteOnly) || conf.write("autospawn = no\n") < 0)
            return 2;
        conf.close();
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
        qputenv("PULSE_SERVER",
                "unix:" + QFile::encodeName(runtime.filePath(QStringLiteral("none"))));
        qputenv("PULSE_CLIENTCONFIG", QFile::encodeName(clientConf));
    }

    QApplication app(argc, argv);
    if (setup.programSetup)
        ApplicationSetup::apply(app);
    const std::unique_ptr<QObject> test(makeTest());
    return QTest::qExec(test.get(), argc, argv);
}
