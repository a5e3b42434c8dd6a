// SPDX-License-Identifier: GPL-3.0-or-later
#include "StormInput.h"

#include "StartForm.h"
#include "StormReport.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <QWindow>

namespace {
// A press or a release waiting in the queue for a point of a window. Like input from the window
// system, the window finds the widget under the point only when it is handled.
struct QueuedClick : QEvent
{
    static constexpr Type Kind = Type(QEvent::User + 71);
    QueuedClick(QWidget *window, QPoint at, Qt::MouseButton button, bool press)
        : QEvent(Kind), window(window), at(at), button(button), press(press)
    {
    }
    QPointer<QWidget> window;
    QPoint at;
    Qt::MouseButton button;
    bool press;
};
} // namespace

void StormInput::queueClick(QWidget *target, Qt::MouseButton button)
{
    QWidget *window = target->window();
    const QPoint at = target->mapTo(window, target->rect().center());
    QCoreApplication::postEvent(this, new QueuedClick(window, at, button, true));
    QCoreApplication::postEvent(this, new QueuedClick(window, at, button, false));
}

bool StormInput::event(QEvent *e)
{
    if (e->type() != QueuedClick::Kind)
        return QObject::event(e);
    const auto *q = static_cast<QueuedClick *>(e);
    QWidget *window = q->window;
    if (!window || !window->isVisible() || !window->windowHandle() || onStartExit(window, q->at))
        return true;
    // Made now: mouse events share their device's point, and one made early would be moved by
    // the input handled before it.
    const QPointF global = window->windowHandle()->mapToGlobal(QPointF(q->at));
    QMouseEvent click(q->press ? QEvent::MouseButtonPress : QEvent::MouseButtonRelease, q->at,
                      q->at, global, q->button, q->press ? q->button : Qt::NoButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(window->windowHandle(), &click);
    return true;
}

Qt::MouseButton StormInput::anyButton()
{
    const int r = pick(10);
    return r < 7 ? Qt::LeftButton : r < 9 ? Qt::RightButton : Qt::MiddleButton;
}

QPoint StormInput::somewhere(QWidget *window)
{
    if (chance(50)) {
        const QList<QWidget *> children = window->findChildren<QWidget *>();
        for (int tries = 0; tries < 4 && !children.isEmpty(); ++tries) {
            QWidget *w = children[pick(int(children.size()))];
            if (!w->isVisible() || w->width() <= 0 || w->height() <= 0)
                continue;
            const QPoint at = w->mapTo(window, QPoint(pick(w->width()), pick(w->height())));
            if (window->rect().contains(at))
                return at;
        }
    }
    return {pick(window->width()), pick(window->height())};
}

bool StormInput::onStartExit(QWidget *window, QPoint at) const
{
    if (window != start)
        return false;
    const QWidget *w = start->childAt(at);
    return w && (w == start->exitButton || start->exitButton->isAncestorOf(w));
}

// To the window, which finds the widget under the point, grabs the pointer on a press and sends
// the release to the widget that had the press. The timestamps keep separate clicks from pairing
// up into double clicks.
void StormInput::pointer(QEvent::Type type, QWidget *window, QPoint at, Qt::MouseButton button)
{
    QWindow *w = window->windowHandle();
    if (!w)
        return;
    if (type == QEvent::MouseButtonPress && (held.testFlag(button) || onStartExit(window, at)))
        return;
    if (type == QEvent::MouseButtonRelease && !held.testFlag(button))
        return;
    if (type != QEvent::MouseMove)
        held.setFlag(button, type == QEvent::MouseButtonPress);
    QTest::lastMouseTimestamp += 1;
    qt_handleMouseEvent(w, at, w->mapToGlobal(at), held,
                        type == QEvent::MouseMove ? Qt::NoButton : button, type, Qt::NoModifier,
                        QTest::lastMouseTimestamp);
    if (type == QEvent::MouseButtonRelease)
        QTest::lastMouseTimestamp += QTest::mouseDoubleClickInterval;
}

void StormInput::clickWidget(QWidget *w, Qt::MouseButton button, bool quick)
{
    QPointer<QWidget> window = w->window();
    const QPoint at = w->mapTo(window, w->rect().center());
    pointer(QEvent::MouseButtonPress, window, at, button);
    // The event loop turns between a child's press and release, unless the click is quick.
    if (!quick)
        QCoreApplication::processEvents();
    // The press may have unloaded the form the widget was on.
    if (window)
        pointer(QEvent::MouseButtonRelease, window, at, button);
}

void StormInput::key(QWidget *top)
{
    static const Qt::Key named[] = {
        Qt::Key_Space,     Qt::Key_Return, Qt::Key_Enter, Qt::Key_Tab,   Qt::Key_Backtab,
        Qt::Key_Backspace, Qt::Key_Delete, Qt::Key_Left,  Qt::Key_Right, Qt::Key_Up,
        Qt::Key_Down,      Qt::Key_Escape, Qt::Key_Home,  Qt::Key_End};
    QWindow *w = QGuiApplication::focusWindow();
    if (!w)
        w = top->windowHandle();
    const int r = pick(100);
    Qt::Key k;
    if (r < 40)
        k = Qt::Key(Qt::Key_0 + pick(10));
    else if (r < 60)
        k = Qt::Key(Qt::Key_A + pick(26));
    else
        k = named[pick(int(std::size(named)))];
    // Space and Enter press the focused button: never the start screen's exit.
    const bool presses = k == Qt::Key_Space || k == Qt::Key_Return || k == Qt::Key_Enter;
    if (presses && w == start->windowHandle() && start->focusWidget() == start->exitButton)
        k = Qt::Key_Tab;
    const Qt::KeyboardModifiers mods = chance(5) ? Qt::ControlModifier : Qt::NoModifier;
    report.note(QStringLiteral("key %1%2 to %3")
                    .arg(mods ? "ctrl+" : "")
                    .arg(int(k), 0, 16)
                    .arg(w->objectName()));
    // Any step may take its window away (a form unloaded, a message closed), the pending deletes
    // run between steps: each step goes only to a window still there. QTest's own sequence would
    // release Ctrl on a window the key's release had already deleted.
    const QPointer<QWindow> target = w;
    const auto send = [&target](QEvent::Type type, int code, Qt::KeyboardModifiers held,
                                const QString &text = {}) {
        if (!target)
            return;
        qt_handleKeyEvent(target, type, code, held, text);
        QCoreApplication::processEvents();
    };
    const QString text = QTest::keyToAscii(k) ? QString(QChar(QTest::keyToAscii(k))) : QString();
    if (mods)
        send(QEvent::KeyPress, Qt::Key_Control, mods);
    send(QEvent::KeyPress, k, mods, mods ? QString() : text);
    send(QEvent::KeyRelease, k, mods, mods ? QString() : text);
    if (mods)
        send(QEvent::KeyRelease, Qt::Key_Control, Qt::NoModifier);
}

QString StormInput::pasteText()
{
    // clang-format off
    static const QStringList odd{
        QStringLiteral("1e999"), QStringLiteral("-0"), QStringLiteral("3,5"), QStringLiteral("--5"),
        QStringLiteral("+7"), QStringLiteral("0x1F"), QStringLiteral(".5"), QStringLiteral("5."),
        QStringLiteral("1.5.5"), QStringLiteral("  4 2 \t"), QStringLiteral("\u0661\u0662\u0663"),
        QStringLiteral("\uFF11\uFF12"), QStringLiteral("\U0001F600"), QStringLiteral("e\u0301"),
        QStringLiteral("\u200F12\u200E"), QString(QChar(0xD800)), QString(QChar(0)),
        QStringLiteral("\n9"), QStringLiteral("nan"), QStringLiteral("inf"), QStringLiteral("-")};
    // clang-format on
    const int r = pick(10);
    if (r < 3) {
        // Long runs of digits; now and then more than the box holds, which makes every later
        // keystroke slow until the box is cleared.
        QString digits(chance(2) ? 40000 : 1 + pick(400), u'0');
        for (QChar &c : digits)
            c = QChar(u'0' + pick(10));
        return digits;
    }
    if (r < 6)
        return odd[pick(int(odd.size()))];
    static const QString alphabet = QStringLiteral("0123456789+-.,e x\u00e9\u0661\uFF10");
    QString mixed;
    for (int n = 1 + pick(12); n > 0; --n)
        mixed += alphabet[pick(int(alphabet.size()))];
    return mixed;
}
