// SPDX-License-Identifier: GPL-3.0-or-later
#include "AudioClipSink.h"
#include "ClipPlayer.h"
#include "Clips.h"
#include "PuzzlePictures.h"
#include "RecordingClipSink.h"
#include "Resources.h"
#include "TestMain.h"
#include "WindowPlacement.h"

#include <QApplication>
#include <QAudioDevice>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMediaDevices>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>
#include <QWindow>

namespace {
// Generous for a loaded machine, far below what a connection attempt with a timeout would take.
constexpr qint64 PromptMs = 1500;

QByteArray assetClip(int clipId)
{
    QFile file(QStringLiteral(VORTANI_SOUNDS_DIR "/clip%1.wav").arg(clipId));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList visibleWindows()
{
    QStringList shown;
    for (QWindow *window : QGuiApplication::topLevelWindows()) {
        if (window->isVisible())
            shown << window->objectName() + QLatin1Char('/') + window->title();
    }
    return shown;
}

// Flags when Qt delivers it, and notes which clips the sink had been given by then.
class Marker : public QObject
{
public:
    explicit Marker(const RecordingClipSink *sink = nullptr) : sink(sink) {}

    void note()
    {
        handled = true;
        if (sink)
            clipsSeen = sink->clips;
    }

    bool handled = false;
    ClipList clipsSeen;

protected:
    void customEvent(QEvent *) override { note(); }

private:
    const RecordingClipSink *sink;
};

enum class Queue
{
    PostedEvent,
    QueuedCall
};

void queueOn(Marker &marker, Queue how)
{
    if (how == Queue::PostedEvent)
        QCoreApplication::postEvent(&marker, new QEvent(QEvent::User));
    else
        QMetaObject::invokeMethod(
            &marker, [&marker] { marker.note(); }, Qt::QueuedConnection);
}
} // namespace

Q_DECLARE_METATYPE(Queue)

class TestServices : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();

    void playClipHandsOverTheWholeClip_data();
    void playClipHandsOverTheWholeClip();
    void playClipHandlesWaitingEvents_data();
    void playClipHandlesWaitingEvents();

    void topmostKeepsTheWindow_data();
    void topmostKeepsTheWindow();

    void noSoundServerIsSilence_data();
    void noSoundServerIsSilence();
    void noSoundServerBackToBack();

    void pictureFilesAnswerAtOnce_data();
    void pictureFilesAnswerAtOnce();
};

void TestServices::initTestCase()
{
    // Otherwise the tests below would exercise a working output and prove nothing.
    QVERIFY2(QMediaDevices::audioOutputs().isEmpty(),
             qPrintable(QMediaDevices::defaultAudioOutput().description()));
}

void TestServices::playClipHandsOverTheWholeClip_data()
{
    QTest::addColumn<ClipList>("played");
    QTest::addColumn<ClipList>("started");
    const ClipList all{Clips::Fanfare, Clips::Blip, Clips::Oops, Clips::Chime, Clips::Click};
    const ClipList again{Clips::Chime, Clips::Chime, Clips::Fanfare, Clips::Chime};
    QTest::newRow("every clip once") << all << all;
    QTest::newRow("same clip twice, then back") << again << again;
    QTest::newRow("numbers outside the clips start nothing")
        << ClipList{Clips::First - 1, Clips::Oops, Clips::Last + 1, 0, -1, Clips::Blip}
        << ClipList{Clips::Oops, Clips::Blip};
}

void TestServices::playClipHandsOverTheWholeClip()
{
    QFETCH(ClipList, played);
    QFETCH(ClipList, started);
    RecordingClipSink sink;
    ClipPlayer player(sink);
    for (const qint16 clip : played)
        player.play(clip);

    QCOMPARE(sink.clips, started);
    QCOMPARE(sink.images.size(), started.size());
    for (qsizetype i = 0; i < started.size(); ++i) {
        // Byte for byte the file the program was built from, header and trailing chunks too.
        const QByteArray onDisk = assetClip(started[i]);
        QVERIFY2(!onDisk.isEmpty(), qPrintable(QString::number(started[i])));
        QCOMPARE(sink.images[i], onDisk);
        QCOMPARE(sink.images[i], Resources::clipBytes(started[i]));
    }
}

void TestServices::playClipHandlesWaitingEvents_data()
{
    QTest::addColumn<Queue>("how");
    QTest::addColumn<qint16>("clip");
    QTest::newRow("posted event, long clip") << Queue::PostedEvent << Clips::Fanfare;
    QTest::newRow("queued call, short clip") << Queue::QueuedCall << Clips::Click;
}

void TestServices::playClipHandlesWaitingEvents()
{
    QFETCH(Queue, how);
    QFETCH(qint16, clip);
    RecordingClipSink sink;
    ClipPlayer player(sink);
    Marker marker(&sink);

    queueOn(marker, how);
    QVERIFY(!marker.handled);
    player.play(clip);
    QVERIFY(marker.handled);
    // The clip is already under way when the waiting input runs.
    QCOMPARE(marker.clipsSeen, ClipList{clip});
}

void TestServices::topmostKeepsTheWindow_data()
{
    QTest::addColumn<bool>("showFirst");
    QTest::addColumn<bool>("hideAgain");
    QTest::newRow("before first show") << false << false;
    QTest::newRow("while shown") << true << false;
    QTest::newRow("shown, then hidden again") << true << true;
}

void TestServices::topmostKeepsTheWindow()
{
    QFETCH(bool, showFirst);
    QFETCH(bool, hideAgain);
    const QRect where(137, 91, 412, 263);
    QWidget form;
    form.setGeometry(where);
    if (showFirst) {
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QCOMPARE(form.geometry(), where);
    }
    if (hideAgain)
        form.hide();
    const bool wasShown = form.isVisible();

    WindowPlacement::keepOnTop(&form);

    QVERIFY(form.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QCOMPARE(form.isVisible(), wasShown);
    if (wasShown) {
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QVERIFY(form.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
    } else {
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
    }
    QCOMPARE(form.geometry(), where);
    QCOMPARE(form.windowHandle()->geometry(), where);
}

void TestServices::noSoundServerIsSilence_data()
{
    QTest::addColumn<qint16>("clip");
    QTest::newRow("fanfare") << Clips::Fanfare;
    QTest::newRow("blip") << Clips::Blip;
    QTest::newRow("oops") << Clips::Oops;
    QTest::newRow("chime") << Clips::Chime;
    QTest::newRow("click") << Clips::Click;
}

void TestServices::noSoundServerIsSilence()
{
    QFETCH(qint16, clip);
    AudioClipSink sink;
    ClipPlayer player(sink);
    Marker marker;
    queueOn(marker, Queue::QueuedCall);

    QElapsedTimer timer;
    timer.start();
    player.play(clip);
    QVERIFY2(timer.elapsed() < PromptMs, qPrintable(QString::number(timer.elapsed())));
    // The game goes on: waiting input still runs, and nothing pops up to complain.
    QVERIFY(marker.handled);
    QCOMPARE(visibleWindows(), QStringList());
    QVERIFY(!QApplication::activeModalWidget());
}

void TestServices::noSoundServerBackToBack()
{
    QElapsedTimer timer;
    timer.start();
    {
        AudioClipSink sink;
        for (int round = 0; round < 3; ++round) {
            for (qint16 clip = Clips::First; clip <= Clips::Last; ++clip)
                sink.start(clip, Resources::clipBytes(clip));
        }
        sink.start(Clips::Chime, QByteArray("RIFF, but not really a wave"));
    }
    QVERIFY2(timer.elapsed() < PromptMs, qPrintable(QString::number(timer.elapsed())));
    QCOMPARE(visibleWindows(), QStringList());
}

void TestServices::pictureFilesAnswerAtOnce_data()
{
    QTest::addColumn<QByteArray>("bytes"); // pic7.jpg's, none for no file
    QTest::addColumn<bool>("shown");
    // Beside the test, as beside the program.
    QFile jpeg(QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("pic7.jpg")));
    QVERIFY(jpeg.open(QIODevice::ReadOnly));
    QTest::newRow("a picture") << jpeg.readAll() << true;
    QTest::newRow("no file") << QByteArray() << false;
    QTest::newRow("not a picture") << QByteArray("JFIF, but not really") << false;
}

// Read from the current folder, before request returns; a picture that cannot be had is a null
// image and a line naming the file.
void TestServices::pictureFilesAnswerAtOnce()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, shown);
    QTemporaryDir folder;
    if (!bytes.isEmpty()) {
        QFile file(folder.filePath(QStringLiteral("pic7.jpg")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(bytes), bytes.size());
    }
    const QString previous = QDir::currentPath();
    QDir::setCurrent(folder.path());
    int answers = 0;
    QImage picture;
    QString problem;
    QObject context;
    PuzzlePictures::system().request(7, &context, [&](const QImage &p, const QString &why) {
        ++answers;
        picture = p;
        problem = why;
    });
    QDir::setCurrent(previous);

    QCOMPARE(answers, 1);
    QCOMPARE(!picture.isNull(), shown);
    if (shown) {
        QVERIFY(problem.isEmpty());
    } else {
        const QString named = QDir(folder.path()).absoluteFilePath(QStringLiteral("pic7.jpg"));
        QVERIFY2(problem.startsWith(named + QStringLiteral(": ")), qPrintable(problem));
        QVERIFY2(problem.size() > named.size() + 2, qPrintable(problem)); // and why
    }
}

// The process under test reaches no sound server.
VORTANI_GUI_TEST_MAIN(TestServices, .programSetup = false, .noSoundServer = true)

#include "tst_services.moc"
