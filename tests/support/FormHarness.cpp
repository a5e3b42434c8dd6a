// SPDX-License-Identifier: GPL-3.0-or-later
#include "FormHarness.h"

#include "StartForm.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointingDevice>
#include <QPushButton>
#include <QRegularExpression>
#include <QWindow>

FormHarness::FormHarness(quint32 seed, const ClassSetup &setup, Voice *voice)
    : context(sink, RandomSource::fixed(seed), setup, voice)
{
    context.preferences.showHints = true;
}

FormHarness::~FormHarness()
{
    delete form.data();
}

ExerciseForm *FormHarness::openExercise(int operation)
{
    delete form.data();
    context.choice.operation = Operation(operation);
    form = new ExerciseForm(context);
    form->prepare();
    form->show();
    form->activateWindow();
    if (!QTest::qWaitForWindowActive(form))
        qWarning("exercise form did not become active");
    return form;
}

void FormHarness::press(QWidget *widget, Qt::MouseButton button)
{
    QTest::mousePress(widget, button, Qt::NoModifier, widget->rect().center());
}

void FormHarness::click(QWidget *widget, Qt::MouseButton button)
{
    QTest::mouseClick(widget, button, Qt::NoModifier, widget->rect().center());
}

void FormHarness::queueClick(QWidget *widget, bool release)
{
    const QPointF local = QRectF(widget->rect()).center();
    const QPointF global = widget->mapToGlobal(local);
    QCoreApplication::postEvent(widget,
                                new QMouseEvent(QEvent::MouseButtonPress, local, global,
                                                Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
    if (release)
        QCoreApplication::postEvent(widget,
                                    new QMouseEvent(QEvent::MouseButtonRelease, local, global,
                                                    Qt::LeftButton, Qt::NoButton, Qt::NoModifier));
}

void FormHarness::activate(QWidget *widget, int key)
{
    if (!key)
        return click(widget);
    if (key < 0)
        return taps(widget, 1);
    widget->setFocus();
    QTest::keyClick(widget, Qt::Key(key),
                    key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
}

void FormHarness::quickPresses(QWidget *widget, int count, Qt::MouseButton button)
{
    QWindow *window = widget->window()->windowHandle();
    const QPoint at = widget->mapTo(widget->window(), widget->rect().center());
    const QPoint global = widget->mapToGlobal(widget->rect().center());
    for (int i = 0; i < count; ++i) {
        QTest::lastMouseTimestamp += 60;
        qt_handleMouseEvent(window, at, global, button, button, QEvent::MouseButtonPress,
                            Qt::NoModifier, QTest::lastMouseTimestamp);
        QTest::lastMouseTimestamp += 40;
        qt_handleMouseEvent(window, at, global, Qt::NoButton, button, QEvent::MouseButtonRelease,
                            Qt::NoModifier, QTest::lastMouseTimestamp);
    }
    // The next test input must not pair up with these.
    QTest::lastMouseTimestamp += QTest::mouseDoubleClickInterval;
    QCoreApplication::processEvents();
}

void FormHarness::taps(QWidget *widget, int count)
{
    static QPointingDevice *const screen = QTest::createTouchDevice();
    QWidget *window = widget->window();
    const QPoint at = widget->mapTo(window, widget->rect().center());
    for (int i = 0; i < count; ++i) {
        QTest::touchEvent(window, screen).press(0, at, window);
        QTest::touchEvent(window, screen).release(0, at, window);
    }
    QCoreApplication::processEvents();
}

void FormHarness::typeOnKeypad(const QString &digits)
{
    for (const QChar c : digits) {
        QPushButton *key = form->digitKeys[std::size_t(c.digitValue())];
        Q_ASSERT(key);
        click(key);
    }
    QCoreApplication::processEvents();
}

qint64 FormHarness::expectedFromCaption(const QString &caption)
{
    static const QRegularExpression pattern(QStringLiteral("^ (\\d+) ([-+x:]) (\\d+)$"));
    const auto m = pattern.match(caption);
    if (!m.hasMatch())
        return -1;
    const qint64 a = m.captured(1).toLongLong();
    const qint64 b = m.captured(3).toLongLong();
    switch (m.captured(2).at(0).unicode()) {
    case '+':
        return a + b;
    case '-':
        return a - b;
    case 'x':
        return a * b;
    default:
        return a / b;
    }
}

QAbstractButton *FormHarness::level(int level) const
{
    return form->levelButtons[std::size_t(level - 1)];
}

void FormHarness::answerRight(int tile)
{
    QPushButton *t = form->tiles[std::size_t(tile)];
    click(t);
    typeOnKeypad(QString::number(expectedFromCaption(t->text())));
    press(form->okKey);
    QCOMPARE(inconsistency(), QString());
}

QString FormHarness::inconsistency(const StartForm *start)
{
    if (start)
        return invariants.check(*start, context);
    return form ? invariants.check(*form, context) : QStringLiteral("no exercise form");
}
