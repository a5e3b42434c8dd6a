// SPDX-License-Identifier: GPL-3.0-or-later
// A long seeded storm of random input over both screens: pointer and keys at random places,
// pasted text, levels, tiles, answers, leaving and coming back, the sound switch, and input that
// waits in the queue while a clip starts. After every event the exercise screen must still be in
// a state that play can reach.
// Replay a run with VORTANI_STORM_SEED (and VORTANI_STORM_EVENTS); VORTANI_STORM_TRACE=1 prints
// every event.
#include "FormHarness.h"
#include "ImageBox.h"
#include "PictureOptionButton.h"
#include "StartForm.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSet>
#include <QWindow>

#include <array>
#include <deque>

namespace {
const QColor PaleYellow(255, 255, 192);
constexpr int Tiles = ExerciseSettings::TileCount;

quint64 envNumber(const char *name, quint64 fallback)
{
    bool ok = false;
    const quint64 v = qEnvironmentVariable(name).toULongLong(&ok);
    return ok ? v : fallback;
}

int codeOf(std::optional<Operation> operation)
{
    return operation ? int(*operation) : 0;
}

QChar operatorOf(int operation)
{
    return operation >= 1 && operation <= 4 ? QStringLiteral("+-x:")[operation - 1] : u'?';
}

// The operator the problems of a screen with this title show.
QChar operatorOf(const QString &title)
{
    for (int operation = 1; operation <= 4; ++operation)
        if (titlesFor(operation).title == title)
            return operatorOf(operation);
    return u'?';
}

QAbstractButton *levelOf(const ExerciseForm *f, int level)
{
    return f->levelButtons[std::size_t(level - 1)];
}

#ifdef __SANITIZE_ADDRESS__
// Under the address sanitizer drawing is most of the cost of an event; every fourth event is
// still drawn.
constexpr quint64 DrawEvery = 4;
#else
constexpr quint64 DrawEvery = 1;
#endif

enum Kind
{
    Move,
    Press,
    Release,
    Click,
    DoubleClick,
    Key,
    Paste,
    Level,
    Tile,
    KeypadKey,
    Ok,
    PlanAnswer,
    Leave,
    Enter,
    Sound,
    Queued,
    StartWhileOpen,
    CloseFrame,
    Idle,
    KindCount
};
const char *const KindNames[] = {
    "move",  "press",  "release",          "click",       "double click", "key",   "paste",
    "level", "tile",   "keypad",           "ok",          "plan answer",  "leave", "enter",
    "sound", "queued", "start while open", "close frame", "idle"};
using Weights = std::array<int, KindCount>; // per thousand
const Weights OnExercise{170, 60, 60, 110, 15, 120, 25, 20, 70, 50, 30, 70, 3, 0, 0, 80, 4, 1, 112};
// Quiet spells in which whole puzzles get solved, still with input queued behind the clips.
const Weights OnExerciseCalm{300, 0, 0, 0, 0, 0, 0, 0, 50, 100, 50, 150, 0, 0, 0, 300, 0, 0, 50};
const Weights OnStart{150, 40, 40, 60, 10, 80, 0, 0, 0, 0, 0, 0, 0, 400, 60, 60, 0, 0, 100};

// One step of a planned right answer.
struct Step
{
    enum
    {
        TileStep,
        DigitStep,
        OkStep,
        PasteStep
    } what;
    int value = 0;
    QString text;
};

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

class Storm : public QObject
{
public:
    explicit Storm(quint32 seed) : rng(seed), harness(seed) {}
    ~Storm() override { qApp->removeEventFilter(this); }

    void open();
    void run(quint64 events);
    QString summary() const;

    QString failure; // the first break of an invariant

protected:
    bool event(QEvent *e) override;
    bool eventFilter(QObject *watched, QEvent *e) override;

private:
    ExerciseForm *exercise() const;
    QWidget *top() const;
    void step();
    void settle();
    QString check();
    QString checkCaptions(ExerciseForm *f);

    int pick(int n) { return int(rng.bounded(n)); }
    bool chance(int percent) { return pick(100) < percent; }
    Qt::MouseButton anyButton();
    QPoint somewhere(QWidget *window);
    bool onStartExit(QWidget *window, QPoint at) const;
    void pointer(QEvent::Type type, QWidget *window, QPoint at, Qt::MouseButton button);
    void clickWidget(QWidget *w, Qt::MouseButton button = Qt::LeftButton, bool quick = false);
    void key();
    QString pasteText();
    void queue();
    void trigger();
    void planAnswer();
    void takeStep();
    void note(const QString &what);

    QRandomGenerator rng;
    FormHarness harness;
    std::unique_ptr<StartForm> start;
    Qt::MouseButtons held;
    std::deque<Step> plan;
    quint64 index = 0;
    bool trace = false;
    bool calm = false;
    quint64 spellEnd = 0;
    std::array<QString, 40> recent; // what the last events were, for the failure message

    QPointer<QWidget> message; // the print message, closed after the event that showed it

    // What the caption check last accepted, so that unchanged tiles are not parsed again.
    QPointer<ExerciseForm> checkedForm;
    std::array<QString, Tiles> checkedCaptions;

    // How much of the game the run reached.
    std::array<quint64, KindCount> kinds{};
    quint64 forms = 0, finishes = 0, prints = 0, posted = 0;
    int mostSolved = 0;
    bool wasFinished = false;
    QPointer<ExerciseForm> lastForm;
};

void Storm::open()
{
    trace = qEnvironmentVariableIntValue("VORTANI_STORM_TRACE") == 1;
    qApp->installEventFilter(this);
    start = std::make_unique<StartForm>(harness.context);
    start->prepare();
    start->show();
    start->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(start.get()));
}

ExerciseForm *Storm::exercise() const
{
    ExerciseForm *f = start ? start->exerciseForm() : nullptr;
    return f && !f->isUnloading() && f->isVisible() ? f : nullptr;
}

// The window the child looks at: the exercise screen covers the start screen while it is open.
QWidget *Storm::top() const
{
    if (ExerciseForm *f = exercise())
        return f;
    return start.get();
}

bool Storm::eventFilter(QObject *watched, QEvent *e)
{
    switch (e->type()) {
    case QEvent::Paint:
        return index % DrawEvery != 0;
    case QEvent::Show:
        if (watched->objectName() == u"printMessage")
            message = qobject_cast<QWidget *>(watched);
        break;
    default:
        break;
    }
    return false;
}

bool Storm::event(QEvent *e)
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

Qt::MouseButton Storm::anyButton()
{
    const int r = pick(10);
    return r < 7 ? Qt::LeftButton : r < 9 ? Qt::RightButton : Qt::MiddleButton;
}

QPoint Storm::somewhere(QWidget *window)
{
    // Half the time anywhere, half the time inside one of the window's visible widgets.
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

// The start screen's exit quits the game; the storm never presses it.
bool Storm::onStartExit(QWidget *window, QPoint at) const
{
    if (window != start.get())
        return false;
    const QWidget *w = start->childAt(at);
    return w && (w == start->exitButton || start->exitButton->isAncestorOf(w));
}

// Delivered as the window system delivers: to the window, which finds the widget under the
// point, grabs the pointer on a press and sends the release to the widget that had the press.
// The timestamps keep separate clicks from pairing up into double clicks.
void Storm::pointer(QEvent::Type type, QWidget *window, QPoint at, Qt::MouseButton button)
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

void Storm::clickWidget(QWidget *w, Qt::MouseButton button, bool quick)
{
    QPointer<QWidget> window = w->window();
    const QPoint at = w->mapTo(window, w->rect().center());
    pointer(QEvent::MouseButtonPress, window, at, button);
    // The event loop turns between a child's press and release, unless the click is quick
    // enough to reach its handler before anything waiting in the queue.
    if (!quick)
        QCoreApplication::processEvents();
    // The press may have unloaded the form the widget was on.
    if (window)
        pointer(QEvent::MouseButtonRelease, window, at, button);
}

void Storm::key()
{
    static const Qt::Key named[] = {
        Qt::Key_Space,     Qt::Key_Return, Qt::Key_Enter, Qt::Key_Tab,   Qt::Key_Backtab,
        Qt::Key_Backspace, Qt::Key_Delete, Qt::Key_Left,  Qt::Key_Right, Qt::Key_Up,
        Qt::Key_Down,      Qt::Key_Escape, Qt::Key_Home,  Qt::Key_End};
    QWindow *w = QGuiApplication::focusWindow();
    if (!w)
        w = top()->windowHandle();
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
    note(QStringLiteral("key %1%2 to %3")
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

QString Storm::pasteText()
{
    static const QStringList odd{QStringLiteral("1e999"),
                                 QStringLiteral("-0"),
                                 QStringLiteral("3,5"),
                                 QStringLiteral("--5"),
                                 QStringLiteral("+7"),
                                 QStringLiteral("0x1F"),
                                 QStringLiteral(".5"),
                                 QStringLiteral("5."),
                                 QStringLiteral("1.5.5"),
                                 QStringLiteral("  4 2 \t"),
                                 QStringLiteral("\u0661\u0662\u0663"),
                                 QStringLiteral("\uFF11\uFF12"),
                                 QStringLiteral("\U0001F600"),
                                 QStringLiteral("\u200F12\u200E"),
                                 QStringLiteral("e\u0301"),
                                 QString(QChar(0xD800)),
                                 QString(QChar(0)),
                                 QStringLiteral("\n9"),
                                 QStringLiteral("nan"),
                                 QStringLiteral("inf"),
                                 QStringLiteral("-")};
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

// Presses and releases that wait in the queue, aimed at buttons. Then, mostly, a click whose
// handler starts a clip, so that they are handled inside it.
void Storm::queue()
{
    // Only what is in view: the exercise screen covers the start screen while it is open.
    const QList<QAbstractButton *> all = top()->findChildren<QAbstractButton *>();
    ExerciseForm *f = exercise();
    for (int n = 1 + pick(3); n > 0; --n) {
        const Qt::MouseButton button = chance(80) ? Qt::LeftButton : anyButton();
        QAbstractButton *target;
        // Mostly the controls whose handlers start a clip; in a quiet spell only those.
        if (f && (calm || chance(85))) {
            const int r = pick(100);
            target = r < 30   ? static_cast<QAbstractButton *>(f->okKey)
                     : r < 60 ? f->tiles[std::size_t(pick(Tiles))]
                     : r < 88 ? f->digitKeys[std::size_t(pick(10))]
                     : r < 99 ? levelOf(f, 1 + pick(4))
                              : f->exitButton;
            if (calm && (target == f->exitButton || (r >= 88 && chance(70))))
                target = f->okKey;
        } else {
            target = all[pick(int(all.size()))];
            if (target == start->exitButton)
                continue;
        }
        if (!target->isVisible())
            continue;
        QWidget *window = target->window();
        const QPoint at = target->mapTo(window, target->rect().center());
        note(QStringLiteral("queue %1 button %2").arg(target->objectName()).arg(int(button)));
        ++posted;
        QCoreApplication::postEvent(this, new QueuedClick(window, at, button, true));
        QCoreApplication::postEvent(this, new QueuedClick(window, at, button, false));
    }
    if (chance(75))
        trigger();
}

void Storm::trigger()
{
    ExerciseForm *f = exercise();
    QWidget *w;
    if (!f) {
        QPushButton *ops[] = {start->operationButtons[0], start->operationButtons[1],
                              start->operationButtons[2], start->operationButtons[3],
                              start->soundSwitch};
        w = ops[pick(5)];
    } else {
        const int r = pick(10);
        const int current = harness.context.settings.currentTile;
        if (r < 4)
            // Half of the time the open tile again.
            w = f->tiles[std::size_t(chance(50) && current >= 0 && current < Tiles ? current
                                                                                   : pick(Tiles))];
        else if (r < 6)
            w = f->okKey;
        else if (r < 8)
            w = f->digitKeys[std::size_t(pick(10))];
        else if (r < 9)
            w = levelOf(f, 1 + pick(4));
        else
            w = chance(10) ? static_cast<QWidget *>(f->exitButton) : f->okKey;
    }
    note(QStringLiteral("then %1").arg(w->objectName()));
    clickWidget(w, Qt::LeftButton, true);
}

// A tile and its right answer, one step per event, with other input in between.
void Storm::planAnswer()
{
    ExerciseForm *f = exercise();
    if (!f || !f->puzzleFrame->isEnabled())
        return;
    QList<int> visible;
    for (int i = 0; i < Tiles; ++i)
        if (!f->tiles[std::size_t(i)]->isHidden())
            visible << i;
    if (visible.isEmpty())
        return;
    const int t = visible[pick(int(visible.size()))];
    const qint64 result = FormHarness::expectedFromCaption(f->tiles[std::size_t(t)]->text());
    plan.clear();
    plan.push_back({Step::TileStep, t, {}});
    if (chance(20)) {
        plan.push_back({Step::PasteStep, 0, QString::number(result)});
    } else {
        for (const QChar c : QString::number(result))
            plan.push_back({Step::DigitStep, c.digitValue(), {}});
    }
    plan.push_back({Step::OkStep, 0, {}});
    note(QStringLiteral("plan tile %1 answer %2").arg(t).arg(result));
}

void Storm::takeStep()
{
    const Step s = plan.front();
    plan.pop_front();
    ExerciseForm *f = exercise();
    switch (s.what) {
    case Step::TileStep:
        note(QStringLiteral("step tile %1").arg(s.value));
        clickWidget(f->tiles[std::size_t(s.value)]);
        break;
    case Step::DigitStep:
        note(QStringLiteral("step digit %1").arg(s.value));
        clickWidget(f->digitKeys[std::size_t(s.value)], anyButton());
        break;
    case Step::PasteStep:
        note(QStringLiteral("step paste %1").arg(s.text));
        f->answerBox->insert(s.text);
        break;
    case Step::OkStep:
        note(QStringLiteral("step ok"));
        clickWidget(f->okKey, anyButton());
        break;
    }
}

void Storm::note(const QString &what)
{
    QString &l = recent[index % recent.size()];
    l += (l.isEmpty() ? QString() : QStringLiteral("; ")) + what;
    if (trace)
        qInfo("%llu: %s", index, qPrintable(what));
}

void Storm::step()
{
    if (index >= spellEnd) {
        calm = chance(40);
        spellEnd = index + 500 + quint64(pick(3000));
    }
    ExerciseForm *f = exercise();
    if (!f)
        plan.clear();
    // Told nothing is wrong, the child types the same answer again on the keypad left open.
    if (f && plan.empty() && f->keypad->isEnabled() && chance(50)) {
        const int current = harness.context.settings.currentTile;
        if (current >= 0 && current < Tiles && f->tiles[std::size_t(current)]->isHidden()) {
            for (const QChar c :
                 QString::number(harness.context.settings.results[std::size_t(current)]))
                plan.push_back({Step::DigitStep, c.digitValue(), {}});
            plan.push_back({Step::OkStep, 0, {}});
            note(QStringLiteral("plan the answer for tile %1 again").arg(current));
        }
    }
    if (f && !plan.empty() && chance(calm ? 90 : 70)) {
        takeStep();
        return;
    }
    const Weights &weights = !f ? OnStart : calm ? OnExerciseCalm : OnExercise;
    int r = pick(1000);
    int k = 0;
    while (k < KindCount - 1 && r >= weights[std::size_t(k)])
        r -= weights[std::size_t(k++)];
    ++kinds[std::size_t(k)];
    QWidget *window = top();

    switch (Kind(k)) {
    case Move: {
        const QPoint at = somewhere(window);
        note(QStringLiteral("move %1,%2").arg(at.x()).arg(at.y()));
        pointer(QEvent::MouseMove, window, at, Qt::NoButton);
        break;
    }
    case Press:
    case Release:
    case Click:
    case DoubleClick: {
        const QPoint at = somewhere(window);
        const Qt::MouseButton b = anyButton();
        note(QStringLiteral("%1 button %2 at %3,%4 on %5")
                 .arg(QLatin1String(KindNames[k]))
                 .arg(int(b))
                 .arg(at.x())
                 .arg(at.y())
                 .arg(window->objectName()));
        QPointer<QWidget> w = window;
        if (k != Release)
            pointer(QEvent::MouseButtonPress, window, at, b);
        if (k == Click)
            QCoreApplication::processEvents();
        if (k != Press && w)
            pointer(QEvent::MouseButtonRelease, window, at, b);
        if (k == DoubleClick && w) {
            // Within the double-click time: the window makes the second press a double click.
            QTest::lastMouseTimestamp -= QTest::mouseDoubleClickInterval;
            pointer(QEvent::MouseButtonPress, window, at, b);
            if (w)
                pointer(QEvent::MouseButtonRelease, window, at, b);
        }
        break;
    }
    case Key:
        key();
        break;
    case Paste: {
        const QString text = pasteText();
        note(QStringLiteral("paste %1 characters: %2").arg(text.size()).arg(text.left(20)));
        f->answerBox->insert(text);
        break;
    }
    case Level: {
        QWidget *o = levelOf(f, 1 + pick(4));
        note(QStringLiteral("level %1").arg(o->objectName()));
        clickWidget(o);
        break;
    }
    case Tile: {
        const int t = pick(Tiles);
        note(QStringLiteral("tile %1").arg(t));
        clickWidget(f->tiles[std::size_t(t)], chance(90) ? Qt::LeftButton : anyButton());
        break;
    }
    case KeypadKey: {
        QWidget *key = chance(15) ? f->eraseKey : f->digitKeys[std::size_t(pick(10))];
        note(QStringLiteral("keypad %1").arg(key->objectName()));
        clickWidget(key, anyButton());
        break;
    }
    case Ok:
        note(QStringLiteral("ok"));
        clickWidget(f->okKey, anyButton());
        break;
    case PlanAnswer:
        planAnswer();
        break;
    case Leave:
        note(QStringLiteral("leave"));
        clickWidget(f->exitButton);
        break;
    case Enter: {
        // The sound comes back on soon: the clips are where input nests.
        QPushButton *b = harness.context.settings.soundMuted == 1 && chance(30)
                             ? start->soundSwitch
                             : std::array{start->operationButtons[0], start->operationButtons[1],
                                          start->operationButtons[2],
                                          start->operationButtons[3]}[std::size_t(pick(4))];
        note(QStringLiteral("start screen %1").arg(b->objectName()));
        clickWidget(b);
        break;
    }
    case Sound:
        note(QStringLiteral("sound switch"));
        clickWidget(start->soundSwitch);
        break;
    case Queued:
        queue();
        break;
    case StartWhileOpen: {
        // Brought forward from the task bar, over the exercise screen.
        start->raise();
        start->activateWindow();
        QPushButton *b = std::array{start->operationButtons[0], start->operationButtons[1],
                                    start->operationButtons[2], start->operationButtons[3],
                                    start->soundSwitch}[std::size_t(pick(5))];
        note(QStringLiteral("start screen while open: %1").arg(b->objectName()));
        clickWidget(b);
        break;
    }
    case CloseFrame:
        note(QStringLiteral("close through the frame"));
        f->close();
        break;
    case Idle:
    case KindCount:
        note(QStringLiteral("idle"));
        break;
    }
}

void Storm::settle()
{
    QCoreApplication::processEvents();
    // A form unloaded at the top level goes now, as on return to the event loop.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    if (message) {
        ++prints;
        delete message.data();
    }
    harness.sink.clips.clear();
    harness.sink.images.clear();
}

// An empty answer when the screens are consistent; otherwise what is wrong.
QString Storm::check()
{
    const ExerciseSettings &s = harness.context.settings;
    if (!start->isVisible())
        return QStringLiteral("the start screen went away");
    if (start->soundSwitch->isChecked() != (s.soundMuted == 1))
        return QStringLiteral("sound switch down %1 but SoundMuted %2")
            .arg(start->soundSwitch->isChecked())
            .arg(s.soundMuted);

    ExerciseForm *f = start->exerciseForm();
    if (!f || f->isUnloading())
        return {};
    if (f != lastForm) {
        lastForm = f;
        ++forms;
    }

    int faces = 0;
    for (const ImageBox *face : {f->neutralFace, f->smilingFace, f->laughingFace, f->sadFace})
        faces += int(!face->isHidden());
    if (faces != 1)
        return QStringLiteral("%1 faces shown").arg(faces);

    int hidden = 0, lit = 0, litTile = -1;
    for (int i = 0; i < Tiles; ++i) {
        const QPushButton *t = f->tiles[std::size_t(i)];
        hidden += int(t->isHidden());
        if (t->palette().color(QPalette::Button) == PaleYellow) {
            ++lit;
            litTile = i;
        }
    }
    const bool keypad = f->keypad->isEnabled();
    const int current = s.currentTile;
    if (lit > 1 || (lit == 1 && litTile != current))
        return QStringLiteral("%1 tiles lit, the last %2, CurrentTile %3")
            .arg(lit)
            .arg(litTile)
            .arg(current);

    if (operatorOf(codeOf(s.operation)) != operatorOf(f->titleLabel->text()))
        return QStringLiteral("Operation %1 on the %2 screen")
            .arg(codeOf(s.operation))
            .arg(f->titleLabel->text());

    // Until a level is chosen on this form nothing of a game shows.
    if (!f->puzzleFrame->isEnabled()) {
        if (hidden || lit || keypad || s.solvedCount)
            return QStringLiteral("before a level: %1 hidden, %2 lit, keypad %3, solved %4")
                .arg(hidden)
                .arg(lit)
                .arg(keypad)
                .arg(s.solvedCount);
        return {};
    }

    // Every hidden tile is one right answer, and the twelfth sets the count back to zero with the
    // laughing face. The keypad is open only for a tile still in view; a lit tile in view means
    // the keypad is open for it.
    QString tally;
    if (s.solvedCount != hidden % Tiles)
        tally =
            QStringLiteral("SolvedCount %1 with %2 tiles hidden").arg(s.solvedCount).arg(hidden);
    else if (hidden == Tiles && (f->laughingFace->isHidden() || keypad))
        tally =
            QStringLiteral("all tiles hidden without the laughing face or with the keypad open");
    else if (keypad &&
             (current < 0 || current >= Tiles || f->tiles[std::size_t(current)]->isHidden()))
        tally = QStringLiteral("keypad open for tile %1, not in view").arg(current);
    else if (lit == 1 && !f->tiles[std::size_t(litTile)]->isHidden() && !keypad)
        tally = QStringLiteral("tile %1 lit in view with the keypad closed").arg(litTile);
    if (!tally.isEmpty())
        return tally;
    mostSolved = qMax(mostSolved, int(s.solvedCount));
    if (hidden == Tiles && !wasFinished)
        ++finishes;
    wasFinished = hidden == Tiles;

    // The option shown as chosen, if any, is the level that was dealt.
    for (int l = 1; l <= 4; ++l)
        if (levelOf(f, l)->isChecked() && l != s.level)
            return QStringLiteral("Level button %1 chosen, level %2 dealt").arg(l).arg(s.level);

    return checkCaptions(f);
}

// Twelve different problems of the screen's operation, each with its result in the table.
QString Storm::checkCaptions(ExerciseForm *f)
{
    const ExerciseSettings &s = harness.context.settings;
    bool same = checkedForm == f;
    for (int i = 0; same && i < Tiles; ++i)
        same = checkedCaptions[std::size_t(i)] == f->tiles[std::size_t(i)]->text();
    if (same)
        return {};
    const QChar op = operatorOf(f->titleLabel->text());
    for (int i = 0; i < Tiles; ++i) {
        const QString caption = f->tiles[std::size_t(i)]->text();
        const qint64 value = FormHarness::expectedFromCaption(caption);
        if (value < 0)
            return QStringLiteral("tile %1 reads '%2'").arg(i).arg(caption);
        if (!caption.contains(QStringLiteral(" %1 ").arg(op)))
            return QStringLiteral("tile %1 reads '%2' on the %3 screen")
                .arg(i)
                .arg(caption, f->titleLabel->text());
        if (value != s.results[std::size_t(i)])
            return QStringLiteral("tile %1 reads '%2' but the table holds %3")
                .arg(i)
                .arg(caption)
                .arg(s.results[std::size_t(i)]);
        for (int j = 0; j < i; ++j)
            if (checkedCaptions[std::size_t(j)] == caption)
                return QStringLiteral("tiles %1 and %2 both read '%3'").arg(j).arg(i).arg(caption);
        checkedCaptions[std::size_t(i)] = caption;
    }
    checkedForm = f;
    return {};
}

void Storm::run(quint64 events)
{
    for (index = 0; index < events; ++index) {
        recent[index % recent.size()].clear();
        step();
        if (recent[index % recent.size()].isEmpty())
            note(QStringLiteral("nothing to do"));
        settle();
        if (const QString broken = check(); !broken.isEmpty()) {
            failure = QStringLiteral("after event %1: %2\nlast events:").arg(index).arg(broken);
            for (quint64 i = index + 1 - qMin<quint64>(index + 1, recent.size()); i <= index; ++i)
                failure += QStringLiteral("\n  %1: %2").arg(i).arg(recent[i % recent.size()]);
            return;
        }
    }
}

QString Storm::summary() const
{
    QString text = QStringLiteral("%1 exercise screens, %2 puzzles finished, at most %3 solved, "
                                  "%4 print messages, %5 queued clicks; events:")
                       .arg(forms)
                       .arg(finishes)
                       .arg(mostSolved)
                       .arg(prints)
                       .arg(posted);
    for (int k = 0; k < KindCount; ++k)
        text +=
            QStringLiteral(" %1 %2,").arg(QLatin1String(KindNames[k])).arg(kinds[std::size_t(k)]);
    const ExerciseSettings &s = harness.context.settings;
    text += QStringLiteral(" end: operation %1 level %2 solved %3 muted %4")
                .arg(codeOf(s.operation))
                .arg(s.level)
                .arg(s.solvedCount)
                .arg(s.soundMuted);
    return text;
}

namespace {
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
    void randomInputKeepsTheGameConsistent();
};

void TestStorm::randomInputKeepsTheGameConsistent()
{
    testLog = qInstallMessageHandler(quietLog);
    const auto restore = qScopeGuard([] { qInstallMessageHandler(testLog); });
    const auto seed =
        quint32(envNumber("VORTANI_STORM_SEED", QRandomGenerator::global()->generate()));
    const quint64 events = envNumber("VORTANI_STORM_EVENTS", 200000);
    qInfo("seed %u, %llu events; replay with VORTANI_STORM_SEED=%u", seed, events, seed);

    Storm storm(seed);
    storm.open();
    if (QTest::currentTestFailed())
        return;
    storm.run(events);
    qInfo("%s", qPrintable(storm.summary()));

    QVERIFY2(storm.failure.isEmpty(),
             qPrintable(QStringLiteral("seed %1 ").arg(seed) + storm.failure));
}

// No real printer: printing shows the game's message, which the storm closes.
VORTANI_GUI_TEST_MAIN(TestStorm, .noPrinter = true)

#include "tst_storm.moc"
