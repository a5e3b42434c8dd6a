// SPDX-License-Identifier: GPL-3.0-or-later
#include "Clips.h"
#include "Resources.h"
#include "WavImage.h"

#include <QtEndian>
#include <QTest>

namespace {
QByteArray le32(quint32 v)
{
    QByteArray b(4, '\0');
    qToLittleEndian(v, b.data());
    return b;
}

QByteArray chunk(const char *id, const QByteArray &body)
{
    QByteArray c = QByteArray(id, 4) + le32(quint32(body.size())) + body;
    if (body.size() % 2)
        c += '\0';
    return c;
}

QByteArray pcmFormat(quint16 format = 1, quint16 channels = 1, quint32 rate = 11025,
                     quint16 bits = 8)
{
    QByteArray f(16, '\0');
    qToLittleEndian(format, f.data());
    qToLittleEndian(channels, f.data() + 2);
    qToLittleEndian(rate, f.data() + 4);
    qToLittleEndian(rate * channels * bits / 8, f.data() + 8);
    qToLittleEndian<quint16>(channels * bits / 8, f.data() + 12);
    qToLittleEndian(bits, f.data() + 14);
    return f;
}

QByteArray riff(const QByteArray &chunks)
{
    return "RIFF" + le32(quint32(chunks.size() + 4)) + "WAVE" + chunks;
}
} // namespace

class TestWavImage : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void clipsAreValidWaves_data();
    void clipsAreValidWaves();
    void unknownClipIsEmpty();
    void malformedImagesAreRefused_data();
    void malformedImagesAreRefused();
    void oddDataIsPaddedBeforeTheNextChunk();
};

void TestWavImage::clipsAreValidWaves_data()
{
    QTest::addColumn<qint16>("clip");
    QTest::addColumn<int>("rate");
    QTest::addColumn<int>("samples");
    QTest::addColumn<int>("bytes");
    QTest::newRow("fanfare") << Clips::Fanfare << 11025 << 30720 << 30764;
    QTest::newRow("blip, odd data") << Clips::Blip << 11025 << 1295 << 1340;
    QTest::newRow("oops, odd data") << Clips::Oops << 11025 << 6207 << 6252;
    QTest::newRow("chime") << Clips::Chime << 22050 << 11376 << 11420;
    QTest::newRow("click, with a LIST chunk") << Clips::Click << 20000 << 371 << 468;
}

void TestWavImage::clipsAreValidWaves()
{
    QFETCH(qint16, clip);
    QFETCH(int, rate);
    QFETCH(int, samples);
    QFETCH(int, bytes);
    const QByteArray image = Resources::clipBytes(clip);
    QCOMPARE(image.size(), bytes);
    QCOMPARE(qFromLittleEndian<quint32>(image.constData() + 4), quint32(bytes - 8));
    const auto wav = WavImage::parse(image);
    QVERIFY(wav);
    QCOMPARE(wav->channels, 1);
    QCOMPARE(wav->bitsPerSample, 8);
    QCOMPARE(wav->sampleRate, rate);
    QCOMPARE(wav->samples.size(), samples);
    // Unsigned 8-bit: silence is 128, and a clip is not all silence.
    int loudest = 0;
    for (const char c : wav->samples)
        loudest = qMax(loudest, qAbs(int(quint8(c)) - 128));
    QVERIFY2(loudest > 20, qPrintable(QString::number(loudest)));
}

void TestWavImage::unknownClipIsEmpty()
{
    QVERIFY(Resources::clipBytes(100).isEmpty());
    QVERIFY(Resources::clipBytes(106).isEmpty());
}

void TestWavImage::malformedImagesAreRefused_data()
{
    QTest::addColumn<QByteArray>("image");
    const QByteArray data = chunk("data", QByteArray(10, char(128)));
    const QByteArray good = riff(chunk("fmt ", pcmFormat()) + data);
    QVERIFY(WavImage::parse(good));

    QTest::newRow("empty") << QByteArray();
    QTest::newRow("not RIFF") << QByteArray("RIFX") + good.mid(4);
    QTest::newRow("not WAVE") << good.left(8) + "AVI " + good.mid(12);
    QTest::newRow("truncated inside data") << good.left(good.size() - 4);
    QTest::newRow("RIFF size beyond the bytes") << "RIFF" + le32(9999) + good.mid(8);
    QTest::newRow("compressed format") << riff(chunk("fmt ", pcmFormat(2)) + data);
    QTest::newRow("no channels") << riff(chunk("fmt ", pcmFormat(1, 0)) + data);
    QTest::newRow("short fmt chunk") << riff(chunk("fmt ", pcmFormat().left(10)) + data);
    QTest::newRow("no data chunk") << riff(chunk("fmt ", pcmFormat()));
    QTest::newRow("no fmt chunk") << riff(data);
    QTest::newRow("chunk size beyond the end")
        << riff(chunk("fmt ", pcmFormat()) + "data" + le32(0xFFFFFFF0u) + "ab");
}

void TestWavImage::malformedImagesAreRefused()
{
    QFETCH(QByteArray, image);
    QVERIFY(!WavImage::parse(image));
}

void TestWavImage::oddDataIsPaddedBeforeTheNextChunk()
{
    // An odd chunk before "data": the parser must skip its pad byte to find the next chunk.
    const QByteArray image =
        riff(chunk("fmt ", pcmFormat()) + chunk("junk", "abc") +
             chunk("data", QByteArray(3, char(200))) + chunk("LIST", "INFOxxxx"));
    const auto wav = WavImage::parse(image);
    QVERIFY(wav);
    QCOMPARE(wav->samples, QByteArray(3, char(200)));
}

QTEST_APPLESS_MAIN(TestWavImage)
#include "tst_wavimage.moc"
