// SPDX-License-Identifier: GPL-3.0-or-later
// Pictures drawn beforehand at 1, 2 and 4 times their size, as the Windows build packs them:
// which drawing serves which density, and at exactly what size.
#include "RasterPictureEngine.h"
#include "TestMain.h"

#include <QIcon>
#include <QImage>
#include <QPainter>
#include <QTest>

namespace {
// Each drawing in a colour of its own, so that the result tells which one it came from.
QImage drawing(int side, Qt::GlobalColor colour)
{
    QImage image(side, side, QImage::Format_ARGB32);
    image.fill(colour);
    return image;
}

QIcon threeDrawings()
{
    auto *engine = new RasterPictureEngine;
    // Added out of order: the engine sorts them.
    engine->addDrawing(drawing(64, Qt::green), QIcon::Off);
    engine->addDrawing(drawing(128, Qt::blue), QIcon::Off);
    engine->addDrawing(drawing(32, Qt::red), QIcon::Off);
    engine->addDrawing(drawing(32, Qt::yellow), QIcon::On);
    return QIcon(engine);
}
} // namespace

class TestRasterPicture : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void smallestLargeEnoughDrawingShrunkToSize_data();
    void smallestLargeEnoughDrawingShrunkToSize();
    void paintedCentredInItsProportions();
};

void TestRasterPicture::smallestLargeEnoughDrawingShrunkToSize_data()
{
    QTest::addColumn<qreal>("scale");
    QTest::addColumn<int>("state");
    QTest::addColumn<int>("side");
    QTest::addColumn<QColor>("from");
    QTest::newRow("100 %: the plain drawing") << 1.0 << int(QIcon::Off) << 32 << QColor(Qt::red);
    QTest::newRow("125 %: the double one, shrunk")
        << 1.25 << int(QIcon::Off) << 40 << QColor(Qt::green);
    QTest::newRow("150 %: the double one, shrunk")
        << 1.5 << int(QIcon::Off) << 48 << QColor(Qt::green);
    QTest::newRow("200 %: the double one") << 2.0 << int(QIcon::Off) << 64 << QColor(Qt::green);
    QTest::newRow("500 %: the largest, stretched")
        << 5.0 << int(QIcon::Off) << 160 << QColor(Qt::blue);
    QTest::newRow("the other state's own drawing")
        << 2.0 << int(QIcon::On) << 64 << QColor(Qt::yellow);
}

void TestRasterPicture::smallestLargeEnoughDrawingShrunkToSize()
{
    QFETCH(qreal, scale);
    QFETCH(int, state);
    QFETCH(int, side);
    QFETCH(QColor, from);
    const QIcon icon = threeDrawings();
    for (const QIcon::Mode mode : {QIcon::Normal, QIcon::Disabled}) {
        const QImage image = icon.pixmap({32, 32}, scale, mode, QIcon::State(state)).toImage();
        QCOMPARE(image.size(), QSize(side, side));
        // Controls in a closed frame keep their look: no greying.
        QCOMPARE(image.pixelColor(side / 2, side / 2), from);
    }
}

void TestRasterPicture::paintedCentredInItsProportions()
{
    // A square picture in a wide box at 150 %: 60 points high, so 90 pixels, from the largest
    // drawing; centred, as high as the box, never stretched.
    QImage canvas(QSize(120, 60) * 1.5, QImage::Format_ARGB32);
    canvas.setDevicePixelRatio(1.5);
    canvas.fill(Qt::white);
    {
        QPainter painter(&canvas);
        threeDrawings().paint(&painter, QRect(0, 0, 120, 60));
    }
    QCOMPARE(canvas.pixelColor(90, 45), QColor(Qt::blue));
    QCOMPARE(canvas.pixelColor(44, 45), QColor(Qt::white));
    QCOMPARE(canvas.pixelColor(136, 45), QColor(Qt::white));
    QCOMPARE(canvas.pixelColor(46, 0), QColor(Qt::blue));
    QCOMPARE(canvas.pixelColor(133, 89), QColor(Qt::blue));
}

VORTANI_GUI_TEST_MAIN(TestRasterPicture)
#include "tst_rasterpicture.moc"
