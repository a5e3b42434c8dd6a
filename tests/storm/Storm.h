// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "FormHarness.h"
#include "GameInvariants.h"
#include "StormInput.h"
#include "StormReport.h"

#include <array>
#include <deque>
#include <memory>
#include <vector>

class StartForm;

// A long seeded storm of random input over both screens: pointer and keys at random places,
// pasted text, levels, tiles, answers, leaving and coming back, the sound switch, and input that
// waits in the queue while a clip starts. After every event the screens must agree with the
// game's model.
class Storm : public QObject
{
public:
    enum Phase
    {
        Exercise,
        Calm, // quiet spells on the exercise screen, in which whole puzzles get solved
        Start,
        PhaseCount
    };
    // One kind of event: its name, how often it comes per thousand events in each phase, and
    // how it is made.
    struct Kind
    {
        const char *name;
        std::array<int, PhaseCount> perMille;
        void (*make)(Storm &);
    };
    static const std::vector<Kind> kinds;

    explicit Storm(quint32 seed);
    ~Storm() override;

    void open();
    // Empty when all events kept the game consistent; else the first break and what led to it.
    QString run(quint64 events);
    QString summary() const { return report.summary(harness.context, exercise()); }

protected:
    bool eventFilter(QObject *watched, QEvent *e) override;

private:
    enum class Mouse
    {
        Press,
        Release,
        Click,
        DoubleClick
    };
    // One step of a planned right answer: a click on the form, or text pasted into its box.
    struct Step
    {
        QPointer<QWidget> target;
        QString paste;
    };

    ExerciseForm *exercise() const;
    QWidget *top() const;
    void step();
    void settle();
    QString check();

    // A click on a widget's middle, noted; a quick one reaches its handler before what waits.
    void click(QWidget *w, Qt::MouseButton button = Qt::LeftButton, bool quick = false);
    void mouse(Mouse what);
    void queue();
    void trigger();
    void planAnswer();
    void planOpenTile();
    void planDigits(qint64 result);
    void takeStep();
    QAbstractButton *anyLevel();
    QPushButton *anyOperation(bool orSound);

    FormHarness harness;
    StormReport report;
    StormInput input;
    GameInvariants invariants;
    std::unique_ptr<StartForm> start;
    std::deque<Step> plan;
    quint64 index = 0;
    bool calm = false;
    quint64 spellEnd = 0;
    QPointer<QWidget> message; // the print message, closed after the event that showed it
};
