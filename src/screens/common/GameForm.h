// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

struct GameContext;

// What both screens share: the run's context, and the one way a handler plays a clip.
class GameForm : public QWidget
{
    Q_OBJECT
public:
    // True once the form is being unloaded: a handler resumed after a clip stops there.
    bool isUnloading() const { return unloading; }

protected:
    GameForm(GameContext &context, QWidget *parent);

    // Plays a clip unless the sound is switched off. Starting a clip handles the waiting events,
    // so any handler may have run meanwhile; the answer says whether this form is still loaded,
    // and the caller goes on only then.
    [[nodiscard]] bool playClip(qint16 clipId);
    // From now on a handler resumed after a clip stops.
    void beginUnloading() { unloading = true; }

    GameContext &context;

private:
    bool unloading = false;
};
