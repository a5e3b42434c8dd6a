// SPDX-License-Identifier: GPL-3.0-or-later
// Clips played through the real output and recorded back from the sound server's null sink.
// Needs the server that the sound_server fixture starts (tests/e2e/vortani_e2e.py).
#include "AudioClipSink.h"
#include "ClipPlayer.h"
#include "Clips.h"
#include "Resources.h"
#include "WavImage.h"

#include <QAudioDevice>
#include <QFile>
#include <QFileInfo>
#include <QMediaDevices>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <memory>
#include <optional>

namespace {
constexpr int RecordRate = 22050;
// Unsigned 8-bit: silence is 128. The null sink's monitor adds no noise, so a small margin
// separates sound from silence while keeping most of a clip's fading tail.
constexpr int LoudMargin = 4;

// Where the first and last loud samples lie, in seconds from the start of the samples.
struct Heard
{
    double start = 0;
    double end = 0;
    double span() const { return end - start; }
};

Heard loudPart(const WavImage &wav)
{
    qsizetype first = -1;
    qsizetype last = -1;
    for (qsizetype i = 0; i < wav.samples.size(); ++i) {
        if (qAbs(int(quint8(wav.samples[i])) - 128) > LoudMargin) {
            if (first < 0)
                first = i;
            last = i;
        }
    }
    if (first < 0)
        return {};
    return {double(first) / wav.sampleRate, double(last + 1) / wav.sampleRate};
}

double clipSpan(qint16 clip)
{
    const auto wav = WavImage::parse(Resources::clipBytes(clip));
    return wav ? loudPart(*wav).span() : -1;
}

// Records the test sink's monitor into a WAV file for as long as it lives.
class Recorder
{
public:
    bool start(const QString &parec, QString *why)
    {
        path = dir.filePath(QStringLiteral("heard.wav"));
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        // A short fragment size: by default the server hands over two seconds at a time.
        process.start(parec,
                      {QStringLiteral("-d"), QStringLiteral("test.monitor"),
                       QStringLiteral("--format=u8"), QStringLiteral("--rate=%1").arg(RecordRate),
                       QStringLiteral("--channels=1"), QStringLiteral("--file-format=wav"),
                       QStringLiteral("--latency-msec=20"), path});
        if (!process.waitForStarted(5000)) {
            *why = process.errorString();
            return false;
        }
        // Recording is live once the monitor's silence is flowing into the file.
        const qint64 live = 44 + RecordRate / 10;
        for (int waited = 0; waited < 5000 && QFileInfo(path).size() < live; waited += 20) {
            if (process.state() != QProcess::Running) {
                *why = QStringLiteral("parec exited with %1").arg(process.exitCode());
                return false;
            }
            QTest::qWait(20);
        }
        if (QFileInfo(path).size() < live) {
            *why = QStringLiteral("parec wrote nothing within 5 s");
            return false;
        }
        return true;
    }

    // Stops recording; parec writes the final WAV header when it is asked to terminate.
    std::optional<WavImage> stop()
    {
        process.terminate();
        if (!process.waitForFinished(5000)) {
            process.kill();
            process.waitForFinished();
            return std::nullopt;
        }
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return std::nullopt;
        return WavImage::parse(file.readAll());
    }

    ~Recorder()
    {
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished();
        }
    }

private:
    QTemporaryDir dir;
    QString path;
    QProcess process;
};

bool setupIsRequired()
{
    return qEnvironmentVariable("CI") == QLatin1String("true");
}
} // namespace

// On CI a missing server or recorder is a failure; elsewhere the audio tests are skipped.
#define REQUIRE_SETUP(ok, why)                                                                     \
    do {                                                                                           \
        if (!(ok)) {                                                                               \
            if (setupIsRequired())                                                                 \
                QFAIL(qPrintable(why));                                                            \
            QSKIP(qPrintable(why));                                                                \
        }                                                                                          \
    } while (false)

class TestAudio : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void wholeClipIsHeard_data();
    void wholeClipIsHeard();
    void clipIsCutOff_data();
    void clipIsCutOff();

private:
    // Plays through the same path as the game, recording meanwhile; returns the loud part.
    std::optional<Heard> record(const std::function<void()> &play);

    QString parec;
    std::unique_ptr<AudioClipSink> sink;
    std::unique_ptr<ClipPlayer> player;
};

void TestAudio::initTestCase()
{
    parec = QStandardPaths::findExecutable(QStringLiteral("parec"));
    REQUIRE_SETUP(!parec.isEmpty(), QStringLiteral("parec is not installed (pulseaudio-utils)"));
    const QAudioDevice output = QMediaDevices::defaultAudioOutput();
    REQUIRE_SETUP(!output.isNull(),
                  QStringLiteral("no sound server at XDG_RUNTIME_DIR=%1; run through ctest, "
                                 "whose fixture starts one")
                      .arg(qEnvironmentVariable("XDG_RUNTIME_DIR")));
    REQUIRE_SETUP(output.id() == "test",
                  QStringLiteral("the default output is '%1', not the null sink 'test'")
                      .arg(QString::fromUtf8(output.id())));
}

void TestAudio::init()
{
    sink = std::make_unique<AudioClipSink>();
    player = std::make_unique<ClipPlayer>(*sink);
}

void TestAudio::cleanup()
{
    player.reset();
    sink.reset();
}

std::optional<Heard> TestAudio::record(const std::function<void()> &play)
{
    Recorder recorder;
    QString why;
    if (!recorder.start(parec, &why)) {
        qWarning("cannot record: %s", qPrintable(why));
        return std::nullopt;
    }
    play();
    const auto wav = recorder.stop();
    if (!wav || wav->sampleRate != RecordRate || wav->channels != 1 || wav->bitsPerSample != 8) {
        qWarning("the recording is not the 8-bit mono WAV asked for");
        return std::nullopt;
    }
    return loudPart(*wav);
}

void TestAudio::wholeClipIsHeard_data()
{
    QTest::addColumn<qint16>("clip");
    QTest::newRow("chime, 0.52 s") << Clips::Chime;
    QTest::newRow("fanfare, 2.79 s") << Clips::Fanfare;
    QTest::newRow("blip, 0.12 s") << Clips::Blip;
}

void TestAudio::wholeClipIsHeard()
{
    QFETCH(qint16, clip);
    const double inClip = clipSpan(clip);
    QVERIFY(inClip > 0);
    const auto heard = record([&] {
        player->play(clip);
        QTest::qWait(700 + int(1000 * inClip));
    });
    QVERIFY(heard);
    qInfo("clip %d: loud for %.3f s when played, %.3f s in the clip", clip, heard->span(), inClip);
    // Resampling blurs the edges by a few milliseconds; a clipped tail loses about 0.1 s.
    QVERIFY2(qAbs(heard->span() - inClip) <= 0.05, qPrintable(QString::number(heard->span())));
}

void TestAudio::clipIsCutOff_data()
{
    QTest::addColumn<bool>("byNextClip");
    QTest::addColumn<double>("atLeast");
    QTest::addColumn<double>("atMost");
    // The fanfare would be loud for 2.4 s; 0.3 s of it, then the 0.1 s of the blip.
    QTest::newRow("fanfare cut off by the blip after 0.3 s") << true << 0.33 << 1.2;
    QTest::newRow("fanfare cut off by closing the output after 0.3 s") << false << 0.15 << 0.8;
}

void TestAudio::clipIsCutOff()
{
    QFETCH(bool, byNextClip);
    QFETCH(double, atLeast);
    QFETCH(double, atMost);
    const auto heard = record([&] {
        player->play(Clips::Fanfare);
        QTest::qWait(300);
        if (byNextClip) {
            player->play(Clips::Blip);
        } else {
            player.reset();
            sink.reset();
        }
        QTest::qWait(1200);
    });
    QVERIFY(heard);
    qInfo("loud for %.3f s", heard->span());
    QVERIFY2(heard->span() >= atLeast && heard->span() <= atMost,
             qPrintable(QString::number(heard->span())));
}

QTEST_MAIN(TestAudio)
#include "tst_audio.moc"
