// SPDX-License-Identifier: GPL-3.0-or-later
// Both forms on a screen at twice the density (ctest sets QT_SCALE_FACTOR=2): every control
// lands where it does at 1x, pictures and pointer are drawn from sources sharp enough for it.
#include "FormGeometry.h"
#include "FormHarness.h"
#include "Resources.h"
#include "StartForm.h"

#include <QApplication>
#include <QPainter>
#include <QPushButton>

namespace {
QImage renderAt(QWidget *form, qreal ratio)
{
    QImage image(form->size() * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    form->render(&image);
    return image;
}

// Mean difference per channel between two same-sized images, inside a rectangle.
double difference(const QImage &a, const QImage &b, const QRect &area)
{
    double sum = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            sum +=
                qAbs(qRed(p) - qRed(q)) + qAbs(qGreen(p) - qGreen(q)) + qAbs(qBlue(p) - qBlue(q));
        }
    return sum / (3.0 * area.width() * area.height());
}

// How crisp an image's edges are: the mean squared step between neighbouring pixels. An edge
// drawn in one step counts twice as much as the same edge smeared over two.
double sharpness(const QImage &image)
{
    double sum = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 1; x < image.width(); ++x) {
            const int step = qGray(image.pixel(x, y)) - qGray(image.pixel(x - 1, y));
            sum += step * step;
        }
    return sum / (image.width() * image.height());
}
} // namespace

class TestHiDpi : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void controlsLandWhereTheyDoAt1x_data();
    void controlsLandWhereTheyDoAt1x();
    void picturesAreDrawnFromSharpSources();
    void pointerHasADenseImage();
};

void TestHiDpi::initTestCase()
{
    QCOMPARE(qApp->devicePixelRatio(), 2.0);
}

void TestHiDpi::controlsLandWhereTheyDoAt1x_data()
{
    QTest::addColumn<bool>("exercise");
    QTest::newRow("start screen") << false;
    QTest::newRow("exercise screen in play") << true;
}

void TestHiDpi::controlsLandWhereTheyDoAt1x()
{
    QFETCH(bool, exercise);
    FormHarness harness;
    StartForm start(harness.context);
    start.prepare();
    QWidget *form = &start;
    if (exercise) {
        ExerciseForm *f = harness.openExercise(3);
        FormHarness::click(f->levelButtons[1]);
        harness.answerRight(2);
        FormHarness::click(f->tiles[9]);
        form = f;
    } else {
        start.show();
        QVERIFY(QTest::qWaitForWindowExposed(&start));
    }
    const QImage dense = form->grab().toImage();
    QCOMPARE(dense.size(), FormGeometry::FormSize * 2);
    const QImage plain = renderAt(form, 1.0).convertToFormat(QImage::Format_RGB32);
    const QImage reduced =
        dense.scaled(plain.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
            .convertToFormat(QImage::Format_RGB32);
    // Every control, brought back to 1x, looks like the control drawn at 1x: nothing moved,
    // nothing drawn at half or double its size.
    for (QWidget *w : form->findChildren<QWidget *>()) {
        if (!w->isVisible() || w->objectName().isEmpty() || w->objectName().startsWith(u"qt_"))
            continue;
        const QRect area = QRect(w->mapTo(form, QPoint()), w->size()).intersected(plain.rect());
        if (area.width() < 4 || area.height() < 4)
            continue;
        const double d = difference(plain, reduced, area);
        QVERIFY2(d < 16,
                 qPrintable(QStringLiteral("%1 differs by %2").arg(w->objectName()).arg(d)));
    }
}

void TestHiDpi::picturesAreDrawnFromSharpSources()
{
    // A picture drawn for 2x has crisper edges than its 1x drawing smoothly blown up, which is
    // what a bitmap-only picture would look like.
    for (const auto &[kind, name, size] : {std::tuple{u"controls", u"key_7", QSize(33, 33)},
                                           {u"controls", u"banner", QSize(311, 47)},
                                           {u"faces", u"face_smile", QSize(52, 52)},
                                           {u"icons", u"stampa", QSize(32, 32)}}) {
        const QIcon icon = Resources::picture(kind, name);
        const QImage dense = icon.pixmap(size, 2.0).toImage();
        QCOMPARE(dense.size(), size * 2);
        const QImage blown = icon.pixmap(size, 1.0).toImage().scaled(
            size * 2, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        QVERIFY2(sharpness(dense) > sharpness(blown) * 1.3,
                 qPrintable(QStringView(name).toString()));
    }
}

void TestHiDpi::pointerHasADenseImage()
{
    const QCursor hand = Resources::handCursor();
    QCOMPARE(hand.pixmap().devicePixelRatio(), 2.0);
    QCOMPARE(hand.pixmap().size(), QSize(64, 64));
    QCOMPARE(hand.hotSpot(), QPoint(6, 5));
}

VORTANI_GUI_TEST_MAIN(TestHiDpi)
#include "tst_hidpi.moc"
