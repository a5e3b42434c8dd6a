// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPointer>
#include <QString>

#include <array>
#include <vector>

class ExerciseForm;
struct GameContext;

// What a storm did: the last events, for the message when an invariant breaks, and how much of
// the game the run reached, for the summary. VORTANI_STORM_TRACE=1 prints every event.
class StormReport
{
public:
    explicit StormReport(std::size_t kindCount);

    void begin(quint64 event);
    void note(const QString &what);
    void countKind(std::size_t kind) { ++kinds[kind]; }
    void countPrint() { ++prints; }
    void countPosted() { ++posted; }
    // After a consistent event: the screen and round in play, if any.
    void observe(const ExerciseForm *form);

    QString failure(const QString &broken) const;
    QString summary(const GameContext &context, const ExerciseForm *form) const;

private:
    std::vector<quint64> kinds;
    quint64 index = 0;
    bool trace = false;
    std::array<QString, 40> recent;

    quint64 forms = 0, finishes = 0, prints = 0, posted = 0;
    int mostSolved = 0;
    bool wasFinished = false;
    QPointer<const ExerciseForm> lastForm;
};
