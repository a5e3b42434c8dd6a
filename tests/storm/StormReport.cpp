// SPDX-License-Identifier: GPL-3.0-or-later
#include "StormReport.h"

#include "ExerciseForm.h"
#include "GameContext.h"
#include "Storm.h"

StormReport::StormReport(std::size_t kindCount)
    : kinds(kindCount), trace(qEnvironmentVariableIntValue("VORTANI_STORM_TRACE") == 1)
{
}

void StormReport::begin(quint64 event)
{
    index = event;
    recent[index % recent.size()].clear();
}

void StormReport::note(const QString &what)
{
    QString &l = recent[index % recent.size()];
    l += (l.isEmpty() ? QString() : QStringLiteral("; ")) + what;
    if (trace)
        qInfo("%llu: %s", index, qPrintable(what));
}

void StormReport::observe(const ExerciseForm *form)
{
    if (!form || form->isUnloading())
        return;
    if (form != lastForm) {
        lastForm = form;
        ++forms;
    }
    const int solved = form->round().solvedCount();
    mostSolved = qMax(mostSolved, solved);
    const bool finished = form->round().isFinished();
    finishes += quint64(finished && !wasFinished);
    wasFinished = finished;
}

QString StormReport::failure(const QString &broken) const
{
    QString text = QStringLiteral("after event %1: %2\nlast events:").arg(index).arg(broken);
    for (quint64 i = index + 1 - qMin<quint64>(index + 1, recent.size()); i <= index; ++i)
        text += QStringLiteral("\n  %1: %2")
                    .arg(i)
                    .arg(recent[i % recent.size()].isEmpty() ? QStringLiteral("nothing to do")
                                                             : recent[i % recent.size()]);
    return text;
}

QString StormReport::summary(const GameContext &context, const ExerciseForm *form) const
{
    QString text = QStringLiteral("%1 exercise screens, %2 puzzles finished, at most %3 solved, "
                                  "%4 print messages, %5 queued clicks; events:")
                       .arg(forms)
                       .arg(finishes)
                       .arg(mostSolved)
                       .arg(prints)
                       .arg(posted);
    for (std::size_t k = 0; k < kinds.size(); ++k)
        text += QStringLiteral(" %1 %2,").arg(QLatin1String(Storm::kinds[k].name)).arg(kinds[k]);
    const ExerciseChoice &choice = context.choice;
    text += QStringLiteral(" end: operation %1 level %2 solvedCount %3 soundMuted %4")
                .arg(choice.operation ? int(*choice.operation) : 0)
                .arg(choice.level)
                .arg(form ? form->round().solvedCount() : 0)
                .arg(context.preferences.soundMuted);
    return text;
}
