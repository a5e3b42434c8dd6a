// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QEvent>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QRandomGenerator>

class StartForm;
class StormReport;
class QWidget;

// A child's random hands on the game's windows, delivered as the window system delivers them:
// the pointer, clicks, keys, pasted text and input waiting in the queue. Never the start screen's
// exit, which would quit the game.
class StormInput : public QObject
{
public:
    StormInput(quint32 seed, StormReport &report) : rng(seed), report(report) {}

    void watch(StartForm *startForm) { start = startForm; }

    int pick(int n) { return int(rng.bounded(n)); }
    bool chance(int percent) { return pick(100) < percent; }
    Qt::MouseButton anyButton();
    // A point of the window, half the time inside one of its visible widgets.
    QPoint somewhere(QWidget *window);

    void pointer(QEvent::Type type, QWidget *window, QPoint at, Qt::MouseButton button);
    // A quick click reaches its handler before anything waiting in the queue.
    void clickWidget(QWidget *w, Qt::MouseButton button = Qt::LeftButton, bool quick = false);
    // A random key on the focused window, else on top.
    void key(QWidget *top);
    QString pasteText();
    // A click on the middle of a widget that waits in the queue.
    void queueClick(QWidget *target, Qt::MouseButton button);

protected:
    bool event(QEvent *e) override;

private:
    bool onStartExit(QWidget *window, QPoint at) const;

    QRandomGenerator rng;
    StormReport &report;
    StartForm *start = nullptr;
    Qt::MouseButtons held;
};
