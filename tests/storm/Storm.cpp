// SPDX-License-Identifier: GPL-3.0-or-later
#include "Storm.h"

#include "PictureOptionButton.h"
#include "StartForm.h"

#include <QApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

namespace {
constexpr int Tiles = TileGrid::Count;

#ifdef __SANITIZE_ADDRESS__
// Under the address sanitizer drawing is most of the cost of an event; every fourth event is
// still drawn.
constexpr quint64 DrawEvery = 4;
#else
constexpr quint64 DrawEvery = 1;
#endif
} // namespace

// Per thousand: on the exercise screen, in its quiet spells, on the start screen. The last row
// takes what the others leave.
const std::vector<Storm::Kind> Storm::kinds = {
    {"move",
     {170, 300, 150},
     [](Storm &s) {
         const QPoint at = s.input.somewhere(s.top());
         s.report.note(QStringLiteral("move %1,%2").arg(at.x()).arg(at.y()));
         s.input.pointer(QEvent::MouseMove, s.top(), at, Qt::NoButton);
     }},
    {"press", {60, 0, 40}, [](Storm &s) { s.mouse(Mouse::Press); }},
    {"release", {60, 0, 40}, [](Storm &s) { s.mouse(Mouse::Release); }},
    {"click", {110, 0, 60}, [](Storm &s) { s.mouse(Mouse::Click); }},
    {"double click", {15, 0, 10}, [](Storm &s) { s.mouse(Mouse::DoubleClick); }},
    {"key", {120, 0, 80}, [](Storm &s) { s.input.key(s.top()); }},
    {"paste",
     {25, 0, 0},
     [](Storm &s) {
         const QString text = s.input.pasteText();
         s.report.note(QStringLiteral("paste %1: %2").arg(text.size()).arg(text.left(20)));
         s.exercise()->answerBox->insert(text);
     }},
    {"level", {20, 0, 0}, [](Storm &s) { s.click(s.anyLevel()); }},
    {"tile",
     {70, 50, 0},
     [](Storm &s) {
         QWidget *tile = s.exercise()->tiles[std::size_t(s.input.pick(Tiles))];
         s.click(tile, s.input.chance(90) ? Qt::LeftButton : s.input.anyButton());
     }},
    {"keypad",
     {50, 100, 0},
     [](Storm &s) {
         const ExerciseForm *f = s.exercise();
         QWidget *key =
             s.input.chance(15) ? f->eraseKey : f->digitKeys[std::size_t(s.input.pick(10))];
         s.click(key, s.input.anyButton());
     }},
    {"ok", {30, 50, 0}, [](Storm &s) { s.click(s.exercise()->okKey, s.input.anyButton()); }},
    {"plan answer", {70, 150, 0}, [](Storm &s) { s.planAnswer(); }},
    {"leave", {3, 0, 0}, [](Storm &s) { s.click(s.exercise()->exitButton); }},
    // The sound comes back on soon: the clips are where input nests.
    {"enter",
     {0, 0, 400},
     [](Storm &s) {
         const bool back = s.harness.context.preferences.soundMuted && s.input.chance(30);
         s.click(back ? s.start->soundSwitch : s.anyOperation(false));
     }},
    {"sound", {0, 0, 60}, [](Storm &s) { s.click(s.start->soundSwitch); }},
    {"queued", {80, 300, 60}, [](Storm &s) { s.queue(); }},
    // Brought forward from the task bar, over the exercise screen.
    {"start while open",
     {4, 0, 0},
     [](Storm &s) {
         s.start->raise();
         s.start->activateWindow();
         s.click(s.anyOperation(true));
     }},
    {"close frame",
     {1, 0, 0},
     [](Storm &s) {
         s.report.note(QStringLiteral("close through the frame"));
         s.exercise()->close();
     }},
    {"idle", {112, 50, 100}, [](Storm &s) { s.report.note(QStringLiteral("idle")); }},
};

Storm::Storm(quint32 seed) : harness(seed), report(kinds.size()), input(seed, report) {}

Storm::~Storm()
{
    qApp->removeEventFilter(this);
}

void Storm::open()
{
    qApp->installEventFilter(this);
    start = std::make_unique<StartForm>(harness.context);
    input.watch(start.get());
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
    if (e->type() == QEvent::Paint)
        return index % DrawEvery != 0;
    if (e->type() == QEvent::Show && watched->objectName() == u"printMessage")
        message = qobject_cast<QWidget *>(watched);
    return false;
}

QString Storm::run(quint64 events)
{
    for (index = 0; index < events; ++index) {
        report.begin(index);
        step();
        settle();
        if (const QString broken = check(); !broken.isEmpty())
            return report.failure(broken);
        report.observe(exercise());
    }
    return {};
}

void Storm::step()
{
    if (index >= spellEnd) {
        calm = input.chance(40);
        spellEnd = index + 500 + quint64(input.pick(3000));
    }
    ExerciseForm *f = exercise();
    if (!f)
        plan.clear();
    // Now and then the child types the right answer of the open tile.
    if (f && plan.empty() && input.chance(50))
        planOpenTile();
    if (f && !plan.empty() && input.chance(calm ? 90 : 70))
        return takeStep();
    const Phase phase = !f ? Start : calm ? Calm : Exercise;
    int r = input.pick(1000);
    std::size_t k = 0;
    while (k + 1 < kinds.size() && r >= kinds[k].perMille[phase])
        r -= kinds[k++].perMille[phase];
    report.countKind(k);
    kinds[k].make(*this);
}

void Storm::settle()
{
    QCoreApplication::processEvents();
    // A form unloaded at the top level goes now, as on return to the event loop.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    if (message) {
        report.countPrint();
        delete message.data();
    }
    harness.sink.clips.clear();
    harness.sink.images.clear();
}

QString Storm::check()
{
    if (!start->isVisible())
        return QStringLiteral("the start screen went away");
    return invariants.check(*start, harness.context);
}

void Storm::mouse(Mouse what)
{
    QPointer<QWidget> window = top();
    const QPoint at = input.somewhere(window);
    const Qt::MouseButton b = input.anyButton();
    static const char *const names[] = {"press", "release", "click", "double click"};
    report.note(QStringLiteral("%1 button %2 at %3,%4 on %5")
                    .arg(QLatin1String(names[int(what)]))
                    .arg(int(b))
                    .arg(at.x())
                    .arg(at.y())
                    .arg(window->objectName()));
    if (what != Mouse::Release)
        input.pointer(QEvent::MouseButtonPress, window, at, b);
    if (what == Mouse::Click)
        QCoreApplication::processEvents();
    if (what != Mouse::Press && window)
        input.pointer(QEvent::MouseButtonRelease, window, at, b);
    if (what == Mouse::DoubleClick && window) {
        // Within the double-click time: the window makes the second press a double click.
        QTest::lastMouseTimestamp -= QTest::mouseDoubleClickInterval;
        input.pointer(QEvent::MouseButtonPress, window, at, b);
        if (window)
            input.pointer(QEvent::MouseButtonRelease, window, at, b);
    }
}

void Storm::click(QWidget *w, Qt::MouseButton button, bool quick)
{
    report.note(QStringLiteral("%1 %2 button %3")
                    .arg(QLatin1String(quick ? "then" : "click"), w->objectName())
                    .arg(int(button)));
    input.clickWidget(w, button, quick);
}

QAbstractButton *Storm::anyLevel()
{
    return exercise()->levelButtons[std::size_t(input.pick(LevelTable::LevelCount))];
}

QPushButton *Storm::anyOperation(bool orSound)
{
    const int r = input.pick(orSound ? 5 : 4);
    return r < 4 ? start->operationButtons[std::size_t(r)] : start->soundSwitch;
}

// Presses and releases that wait in the queue, aimed at buttons. Then, mostly, a click whose
// handler starts a clip, so that they are handled inside it.
void Storm::queue()
{
    // Only what is in view: the exercise screen covers the start screen while it is open.
    const QList<QAbstractButton *> all = top()->findChildren<QAbstractButton *>();
    ExerciseForm *f = exercise();
    for (int n = 1 + input.pick(3); n > 0; --n) {
        const Qt::MouseButton button = input.chance(80) ? Qt::LeftButton : input.anyButton();
        QAbstractButton *target;
        // Mostly the controls whose handlers start a clip; in a quiet spell only those.
        if (f && (calm || input.chance(85))) {
            const int r = input.pick(100);
            target = r < 30   ? static_cast<QAbstractButton *>(f->okKey)
                     : r < 60 ? f->tiles[std::size_t(input.pick(Tiles))]
                     : r < 88 ? f->digitKeys[std::size_t(input.pick(10))]
                     : r < 99 ? anyLevel()
                              : f->exitButton;
            if (calm && (target == f->exitButton || (r >= 88 && input.chance(70))))
                target = f->okKey;
        } else {
            target = all[input.pick(int(all.size()))];
            if (target == start->exitButton)
                continue;
        }
        if (!target->isVisible())
            continue;
        report.note(
            QStringLiteral("queue %1 button %2").arg(target->objectName()).arg(int(button)));
        report.countPosted();
        input.queueClick(target, button);
    }
    if (input.chance(75))
        trigger();
}

void Storm::trigger()
{
    ExerciseForm *f = exercise();
    QWidget *w;
    if (!f) {
        w = anyOperation(true);
    } else {
        const int r = input.pick(10);
        const std::optional<int> open = f->round().openTile();
        if (r < 4)
            // Half of the time the open tile again.
            w = f->tiles[std::size_t(input.chance(50) && open ? *open : input.pick(Tiles))];
        else if (r < 6)
            w = f->okKey;
        else if (r < 8)
            w = f->digitKeys[std::size_t(input.pick(10))];
        else if (r < 9)
            w = anyLevel();
        else
            w = input.chance(10) ? static_cast<QWidget *>(f->exitButton) : f->okKey;
    }
    click(w, Qt::LeftButton, true);
}

void Storm::planDigits(qint64 result)
{
    for (const QChar c : QString::number(result))
        plan.push_back({exercise()->digitKeys[std::size_t(c.digitValue())], {}});
}

void Storm::planOpenTile()
{
    if (const std::optional<int> open = exercise()->round().openTile()) {
        planDigits(exercise()->round().problem(*open).result);
        plan.push_back({exercise()->okKey, {}});
        report.note(QStringLiteral("plan the answer for openTile %1").arg(*open));
    }
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
    const int t = visible[input.pick(int(visible.size()))];
    const qint64 result = FormHarness::expectedFromCaption(f->tiles[std::size_t(t)]->text());
    plan.clear();
    plan.push_back({f->tiles[std::size_t(t)], {}});
    if (input.chance(20))
        plan.push_back({f->answerBox, QString::number(result)});
    else
        planDigits(result);
    plan.push_back({f->okKey, {}});
    report.note(QStringLiteral("plan tile %1 answer %2").arg(t).arg(result));
}

// A step on a form since unloaded is lost, as the child's would be.
void Storm::takeStep()
{
    const Step s = plan.front();
    plan.pop_front();
    if (!s.target) {
        report.note(QStringLiteral("step lost"));
    } else if (!s.paste.isEmpty()) {
        report.note(QStringLiteral("step paste %1").arg(s.paste));
        qobject_cast<QLineEdit *>(s.target)->insert(s.paste);
    } else {
        const bool tile = s.target->objectName().startsWith(u"tile");
        click(s.target, tile ? Qt::LeftButton : input.anyButton());
    }
}
