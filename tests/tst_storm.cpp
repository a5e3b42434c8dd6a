// SPDX-License-Identifier: GPL-3.0-or-later
// The storm over a fixed list of seeds; with VORTANI_STORM_SOAK=1 over one drawn at random.
// Replay a run with VORTANI_STORM_SEED (and VORTANI_STORM_EVENTS); VORTANI_STORM_TRACE=1 prints
// every event.
#include "Storm.h"

#include <QRandomGenerator>
#include <QScopeGuard>

namespace {
quint64 envNumber(const char *name, quint64 fallback)
{
    bool ok = false;
    const quint64 v = qEnvironmentVariable(name).toULongLong(&ok);
    return ok ? v : fallback;
}

QtMessageHandler testLog = nullptr;

// The offscreen platform says so at every raise, thousands of times in a storm.
void quietLog(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (!message.startsWith(u"This plugin does not support"))
        testLog(type, context, message);
}
} // namespace

class TestStorm : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void eachPhaseSharesOutAThousand();
    void randomInputKeepsTheGameConsistent_data();
    void randomInputKeepsTheGameConsistent();
};

// A phase whose weights fall short hands the rest to the last kind; one over them never reaches
// the kinds at the end.
void TestStorm::eachPhaseSharesOutAThousand()
{
    for (int phase = 0; phase < Storm::PhaseCount; ++phase) {
        int sum = 0;
        for (const Storm::Kind &k : Storm::kinds)
            sum += k.perMille[std::size_t(phase)];
        QCOMPARE(sum, 1000);
    }
}

void TestStorm::randomInputKeepsTheGameConsistent_data()
{
    QTest::addColumn<quint32>("seed");
    QTest::addColumn<quint64>("events");
    bool chosen = false;
    const auto seed = quint32(qEnvironmentVariable("VORTANI_STORM_SEED").toUInt(&chosen));
    if (chosen) {
        QTest::addRow("seed %u", seed) << seed << envNumber("VORTANI_STORM_EVENTS", 200000);
    } else if (qEnvironmentVariableIntValue("VORTANI_STORM_SOAK") == 1) {
        const quint32 drawn = QRandomGenerator::global()->generate();
        QTest::addRow("random seed %u", drawn)
            << drawn << envNumber("VORTANI_STORM_EVENTS", 200000);
    } else {
        // Seeds that have reached finished puzzles, print messages and frames closed.
        for (const quint32 fixed : {1u, 20240611u, 3141592653u})
            QTest::addRow("seed %u", fixed) << fixed << envNumber("VORTANI_STORM_EVENTS", 40000);
    }
}

void TestStorm::randomInputKeepsTheGameConsistent()
{
    QFETCH(quint32, seed);
    QFETCH(quint64, events);
    testLog = qInstallMessageHandler(quietLog);
    const auto restore = qScopeGuard([] { qInstallMessageHandler(testLog); });
    qInfo("seed %u, %llu events; replay with VORTANI_STORM_SEED=%u VORTANI_STORM_EVENTS=%llu "
          "ctest --test-dir <build> -R '^tst_storm$' -V",
          seed, events, seed, events);

    Storm storm(seed);
    storm.open();
    if (QTest::currentTestFailed())
        return;
    const QString failure = storm.run(events);
    qInfo("%s", qPrintable(storm.summary()));
    QVERIFY2(failure.isEmpty(), qPrintable(QStringLiteral("seed %1 ").arg(seed) + failure));
}

// No real printer: printing shows the game's message, which the storm closes.
VORTANI_GUI_TEST_MAIN(TestStorm, .noPrinter = true)

#include "tst_storm.moc"
