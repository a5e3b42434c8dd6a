// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class ChoiceCounter;
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

    // Unless the sound is switched off, plays a clip and then handles every waiting event, as
    // starting a clip always has: any handler, of this form or another, may run meanwhile, and
    // this form may be unloaded or gone. The answer says whether it is still loaded; the caller
    // goes on only then, and touches nothing of the form otherwise.
    [[nodiscard]] bool playClipAndRunWaitingInput(qint16 clipId);
    // The same for a handler acting on a choice: also false when a newer choice of the same kind
    // ran while the clip started, and was acted on already.
    [[nodiscard]] bool playClipForLatestChoice(qint16 clipId, ChoiceCounter &choices);
    // Reads text aloud, cutting off what is still said, when the class reads aloud.
    void sayAloud(const QString &text);
    // From now on a handler resumed after a clip stops.
    void beginUnloading() { unloading = true; }

    GameContext &context;

private:
    bool unloading = false;
};
