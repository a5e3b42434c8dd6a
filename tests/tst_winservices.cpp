// SPDX-License-Identifier: GPL-3.0-or-later
// The services as Windows provides them, on the real windows platform: the clips read from the
// program's own resources, and the topmost band. That winmm is heard is the program test's.
#include "Clips.h"
#include "Resources.h"
#include "TestMain.h"
#include "WavImage.h"
#include "WindowPlacement.h"

#include <QFile>
#include <QTest>
#include <QWidget>

#include <windows.h>

namespace {
HWND handle(QWidget &form)
{
    return reinterpret_cast<HWND>(form.winId());
}

bool topmost(QWidget &form)
{
    return GetWindowLongPtrW(handle(form), GWL_EXSTYLE) & WS_EX_TOPMOST;
}

// The place of a top-level window in the z-order, 0 being the top.
int depth(QWidget &form)
{
    int n = 0;
    for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT), ++n) {
        if (w == handle(form))
            return n;
    }
    return -1;
}
} // namespace

class TestWinServices : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void clipsComeFromTheProgramsResources_data();
    void clipsComeFromTheProgramsResources();
    void topmostBeforeTheFirstShow_data();
    void topmostBeforeTheFirstShow();
    void laterFormLiesAbove();
};

void TestWinServices::clipsComeFromTheProgramsResources_data()
{
    QTest::addColumn<int>("clip");
    QTest::addColumn<bool>("exists");
    for (int id = Clips::First; id <= Clips::Last; ++id)
        QTest::addRow("clip %d", id) << id << true;
    QTest::newRow("one below the first") << Clips::First - 1 << false;
    QTest::newRow("one above the last") << Clips::Last + 1 << false;
}

void TestWinServices::clipsComeFromTheProgramsResources()
{
    QFETCH(int, clip);
    QFETCH(bool, exists);
    const QByteArray bytes = Resources::clipBytes(qint16(clip));
    if (!exists) {
        QVERIFY(bytes.isEmpty());
        return;
    }
    QFile file(QStringLiteral(":/expected/clip%1.wav").arg(clip));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(bytes, file.readAll());
    QVERIFY(WavImage::parse(bytes).has_value());
}

void TestWinServices::topmostBeforeTheFirstShow_data()
{
    QTest::addColumn<bool>("placed");
    QTest::newRow("placed by the program") << true;
    QTest::newRow("placed by Windows") << false;
}

void TestWinServices::topmostBeforeTheFirstShow()
{
    QFETCH(bool, placed);
    const QRect where(137, 91, 412, 263);
    QWidget form;
    if (placed)
        form.setGeometry(where);
    else
        form.resize(where.size());
    QWidget other;
    other.show();
    QVERIFY(QTest::qWaitForWindowActive(&other));

    WindowPlacement::keepOnTop(&form);
    // Not shown, not activated: the window that had the keyboard keeps it.
    QVERIFY(!IsWindowVisible(handle(form)));
    QCOMPARE(GetForegroundWindow(), handle(other));
    QVERIFY(topmost(form));

    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QVERIFY(topmost(form));
    QCOMPARE(form.size(), where.size());
    if (placed)
        QCOMPARE(form.geometry(), where);
    QVERIFY(!topmost(other));
    QVERIFY(depth(form) < depth(other));
}

void TestWinServices::laterFormLiesAbove()
{
    QWidget start;
    QWidget exercise;
    WindowPlacement::keepOnTop(&start);
    start.show();
    QVERIFY(QTest::qWaitForWindowExposed(&start));
    WindowPlacement::keepOnTop(&exercise);
    exercise.show();
    QVERIFY(QTest::qWaitForWindowExposed(&exercise));
    QVERIFY(topmost(start) && topmost(exercise));
    QVERIFY(depth(exercise) < depth(start));
}

VORTANI_GUI_TEST_MAIN(TestWinServices)
#include "tst_winservices.moc"
